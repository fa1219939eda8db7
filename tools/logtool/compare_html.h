// The comparison page: one self-contained HTML file with each run's summary,
// the stops paired into stations and the runs' charts over the location
// (uPlot and the page's script embedded, the data inline).
#ifndef LOGGER_TOOLS_LOGTOOL_COMPARE_HTML_H_
#define LOGGER_TOOLS_LOGTOOL_COMPARE_HTML_H_

#include <ostream>

#include "tools/logtool/run_compare.h"

namespace logtool {

// Writes the page of comparison as HTML to out.
void writeComparison(const Comparison& comparison, std::ostream& out);

// The colour of run number index (from 0) throughout the page.
const char* runColor(std::size_t index);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_COMPARE_HTML_H_
