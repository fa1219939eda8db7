#include "tools/logtool/logtool.h"

#include <filesystem>
#include <optional>

#include "tools/logtool/compare_html.h"
#include "tools/logtool/log_convert.h"
#include "tools/logtool/log_reader.h"
#include "tools/logtool/output_file.h"
#include "tools/logtool/report_html.h"
#include "tools/logtool/run_compare.h"
#include "tools/logtool/run_scan.h"
#include "tools/logtool/title_encoding.h"
#include "tools/logtool/ui_text.h"
#include "tools/version.h"

namespace logtool {
namespace {

constexpr const char* kUsage =
    "usage: logtool summary LOG [--columns FILE] [--encoding NAME] [--lang ja|en]\n"
    "       logtool report LOG [-o FILE] [--columns FILE] [--force] [--encoding NAME]\n"
    "                      [--lang ja|en]\n"
    "       logtool compare LOG1 LOG2 [LOG3...] [-o FILE] [--force]\n"
    "       logtool convert LOG --decimal-comma|--decimal-point [-o FILE]\n"
    "       logtool --help|--version\n"
    "\n"
    "summary  prints the run: clock, duration, rows, distance, speeds and each stop\n"
    "report   writes one HTML file with the summary and charts (default: LOG with .html)\n"
    "compare  writes one HTML file that sets runs of one route side by side over the\n"
    "         location (default: beside LOG1, named after the logs: LOG1_vs_LOG2.html)\n"
    "convert  writes the log in the other number format beside it\n"
    "         (Log_X.csv gives Log_X.decimal-comma.csv or Log_X.decimal-point.csv)\n"
    "--columns FILE  the column file the run used (default: the one *.csv beside the log\n"
    "                that is a column file)\n"
    "--force         replace an existing FILE that is not a page logtool wrote\n"
    "--encoding NAME the titles' encoding: utf-8, cp932 or cp1252 (default: UTF-8 when the\n"
    "                log starts with its mark or is valid UTF-8, else guessed)\n"
    "--lang ja|en    the language of the summary and the report (default: the user's)\n"
    "Exit status: 0 done, 1 cannot write the result, 2 bad usage or bad input.\n";

struct Command {
  std::string name;
  std::vector<std::string> logs;
  std::string output;
  std::string columns;
  unsigned codePage = 0;
  Language language = userLanguageOrEnglish();
  std::optional<DecimalMark> to;
  bool force = false;
  const std::string& log() const { return logs.front(); }
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

Command parseCommand(const std::vector<std::string>& arguments) {
  Command command;
  if (arguments.empty()) throw UsageError("no command given");
  command.name = arguments[0];
  if (command.name != "summary" && command.name != "report" && command.name != "convert" &&
      command.name != "compare") {
    throw UsageError("unknown command " + command.name);
  }
  const bool writesPage = command.name == "report" || command.name == "compare";
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "-o" && command.name != "summary") {
      command.output = value();
    } else if (argument == "--force" && writesPage) {
      command.force = true;
    } else if (argument == "--columns" && command.name != "convert" && command.name != "compare") {
      command.columns = value();
    } else if (argument == "--encoding" && command.name != "convert") {
      const std::string name = value();
      const std::optional<unsigned> codePage = codePageNamed(name);
      if (!codePage) throw UsageError("unknown encoding " + name + " (utf-8, cp932 or cp1252)");
      command.codePage = *codePage;
    } else if (argument == "--lang" && command.name != "convert") {
      const std::string name = value();
      const std::optional<Language> language = languageNamed(name);
      if (!language) throw UsageError("unknown language " + name + " (ja or en)");
      command.language = *language;
    } else if (argument == "--decimal-comma" && command.name == "convert") {
      command.to = DecimalMark::kComma;
    } else if (argument == "--decimal-point" && command.name == "convert") {
      command.to = DecimalMark::kPoint;
    } else if (!argument.empty() && argument[0] == '-') {
      throw UsageError("unknown option " + argument + " for " + command.name);
    } else if (command.logs.empty() || command.name == "compare") {
      command.logs.push_back(argument);
    } else {
      throw UsageError("more than one log given: " + argument);
    }
  }
  if (command.logs.empty()) throw UsageError(command.name + " needs a LOG");
  if (command.name == "compare" && command.logs.size() < 2) {
    throw UsageError("compare needs two logs or more");
  }
  if (command.name == "convert" && !command.to) {
    throw UsageError("convert needs --decimal-comma or --decimal-point");
  }
  return command;
}

ScanOptions scanOptions(const Command& command, std::ostream& err, bool showProgress) {
  ScanOptions options;
  options.columnFile = command.columns;
  options.codePage = command.codePage;
  options.language = command.language;
  options.charts = command.name == "report" || command.name == "compare";
  if (showProgress) {
    options.progress = [&err](std::uint64_t done, std::uint64_t size) {
      if (size > (32 << 20)) err << "\rreading: " << done * 100 / size << "%" << std::flush;
    };
  }
  return options;
}

int summary(const Command& command, std::ostream& out, std::ostream& err, bool showProgress) {
  const ScannedRun run = scanRun(command.log(), scanOptions(command, err, showProgress));
  if (showProgress) err << "\r             \r";
  const std::string note = uiText(UiText::kNote, run.language);
  for (const std::string& line : scanNotes(run)) out << note << ": " << line << "\n";
  out << formatSummary(run.summary, run.language);
  return kDone;
}

// Refuses a page's path that is one of the logs, or an existing file that is
// not a page logtool wrote (unless forced): it is the user's, not ours.
void checkPagePath(const std::string& path, const Command& command) {
  const std::filesystem::path target = std::filesystem::u8path(path);
  std::error_code error;
  for (const std::string& log : command.logs) {
    if (std::filesystem::equivalent(target, std::filesystem::u8path(log), error)) {
      throw InputError(path, 0, "is the log " + log + " itself; the page would replace it");
    }
  }
  if (!command.force && std::filesystem::exists(target, error) && !isLogtoolPage(path)) {
    throw InputError(path, 0, "exists and is not a page logtool wrote; kept (--force replaces it)");
  }
}

// Writes a page through a temporary file: an old page stays until the new one is whole.
template <typename WritePage>
void writePage(const std::string& path, WritePage writeContent) {
  OutputFile page(path);
  writeContent(page.stream());
  page.commit();
}

int report(const Command& command, std::ostream& out, std::ostream& err, bool showProgress) {
  const std::string path =
      command.output.empty() ? defaultReportPath(command.log()) : command.output;
  checkPagePath(path, command);
  const ScannedRun run = scanRun(command.log(), scanOptions(command, err, showProgress));
  if (showProgress) err << "\r             \r";
  writePage(path, [&](std::ostream& page) { writeReport(run, page); });
  if (run.keys.columnFile.empty()) err << "logtool: note: " << run.keys.note << "\n";
  out << "report: " << path << "\n";
  return kDone;
}

int compare(const Command& command, std::ostream& out, std::ostream& err, bool showProgress) {
  const std::string path =
      command.output.empty() ? defaultComparisonPath(command.logs) : command.output;
  checkPagePath(path, command);
  const Comparison comparison = compareRuns(command.logs, scanOptions(command, err, showProgress));
  if (showProgress) err << "\r             \r";
  writePage(path, [&](std::ostream& page) { writeComparison(comparison, page); });
  out << "comparison: " << path << "\n";
  return kDone;
}

int convert(const Command& command, std::ostream& out) {
  const std::string path =
      command.output.empty() ? convertedPath(command.log(), *command.to) : command.output;
  std::error_code error;
  if (std::filesystem::equivalent(std::filesystem::u8path(path),
                                  std::filesystem::u8path(command.log()), error)) {
    throw UsageError("the converted log would replace the log itself: " + path);
  }
  const long rows = convertLog(command.log(), *command.to, path);
  out << "converted: " << path << " (" << rows << " rows, " << formatName(*command.to) << ")\n";
  return kDone;
}

}  // namespace

std::string defaultReportPath(const std::string& logPath) {
  return std::filesystem::u8path(logPath).replace_extension(".html").u8string();
}

std::string defaultComparisonPath(const std::vector<std::string>& logPaths) {
  std::string name;
  for (const std::string& log : logPaths) {
    name += (name.empty() ? "" : "_vs_") + std::filesystem::u8path(log).stem().u8string();
  }
  return (std::filesystem::u8path(logPaths.front()).parent_path() / std::filesystem::u8path(name))
             .u8string() +
         ".html";
}

int runLogtool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool showProgress) {
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kUsage;
    return kDone;
  }
  if (!arguments.empty() && arguments[0] == "--version") {
    out << LOGGER_VERSION_TEXT("logtool");
    return kDone;
  }
  try {
    const Command command = parseCommand(arguments);
    if (command.name == "summary") return summary(command, out, err, showProgress);
    if (command.name == "report") return report(command, out, err, showProgress);
    if (command.name == "compare") return compare(command, out, err, showProgress);
    return convert(command, out);
  } catch (const UsageError& error) {
    err << "logtool: " << error.what() << "\n" << kUsage;
    return kBadInput;
  } catch (const InputError& error) {
    err << error.what() << "\n";
    return kBadInput;
  } catch (const std::bad_alloc&) {
    err << "logtool: out of memory\n";
    return kCannotWrite;
  } catch (const std::exception& error) {
    err << "logtool: " << error.what() << "\n";
    return kCannotWrite;
  }
}

}  // namespace logtool
