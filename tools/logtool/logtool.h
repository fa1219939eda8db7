// logtool: reads a run's log and tells what happened: a summary, an HTML
// report with charts, or the log in the other number format.
#ifndef LOGGER_TOOLS_LOGTOOL_LOGTOOL_H_
#define LOGGER_TOOLS_LOGTOOL_LOGTOOL_H_

#include <ostream>
#include <string>
#include <vector>

namespace logtool {

// Exit statuses: done, cannot write the result, bad usage or bad input.
constexpr int kDone = 0;
constexpr int kCannotWrite = 1;
constexpr int kBadInput = 2;

// Runs logtool with the command-line arguments after the program's name;
// output goes to out, messages to err (progress too, when showProgress).
// Returns the exit status.
int runLogtool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool showProgress);

// The report's default path: the log's, with ".html" for its extension.
std::string defaultReportPath(const std::string& logPath);

// The comparison's default path: beside the first log, named after all of
// them ("Log_A_vs_Log_B.html").
std::string defaultComparisonPath(const std::vector<std::string>& logPaths);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_LOGTOOL_H_
