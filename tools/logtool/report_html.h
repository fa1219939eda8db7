// The report: one self-contained HTML file with the summary, the stop table
// and the charts (uPlot and the page's script embedded, the data inline).
#ifndef LOGGER_TOOLS_LOGTOOL_REPORT_HTML_H_
#define LOGGER_TOOLS_LOGTOOL_REPORT_HTML_H_

#include <ostream>
#include <string>
#include <vector>

#include "tools/logtool/run_scan.h"

namespace logtool {

// Writes the report of run as HTML to out.
void writeReport(const ScannedRun& run, std::ostream& out);

// In the head of every page logtool writes: how it knows its own pages.
constexpr const char* kPageGenerator = "<meta name=\"generator\" content=\"logtool\">";

// Whether the file at path is a page logtool wrote: kPageGenerator within
// its first kilobyte.
bool isLogtoolPage(const std::string& path);

// Writes values as a JSON array with the given printf format, NaN as null.
void writeNumbers(const std::vector<double>& values, const char* format, std::ostream& out);

// Text made safe inside HTML elements and attribute values.
std::string escapeHtml(const std::string& text);

// Text as a JSON string literal, '<' escaped so it cannot end a script.
std::string jsonString(const std::string& text);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_REPORT_HTML_H_
