// Files built into logtool (tools/logtool/CMakeLists.txt generates them from
// third_party/uplot and the page's own script and style).
#ifndef LOGGER_TOOLS_LOGTOOL_EMBEDDED_FILES_H_
#define LOGGER_TOOLS_LOGTOOL_EMBEDDED_FILES_H_

#include <string_view>

namespace logtool {

// uPlot's minified script and stylesheet.
extern const std::string_view kUplotScript;
extern const std::string_view kUplotStyle;
// The report page's script and stylesheet.
extern const std::string_view kReportScript;
extern const std::string_view kReportStyle;
// The comparison page's script and stylesheet.
extern const std::string_view kCompareScript;
extern const std::string_view kCompareStyle;
// The PNG button on every chart of both pages.
extern const std::string_view kChartPngScript;
// The zoom shared between the charts of either page.
extern const std::string_view kChartZoomScript;

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_EMBEDDED_FILES_H_
