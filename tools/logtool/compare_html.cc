#include "tools/logtool/compare_html.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/logtool/embedded_files.h"
#include "tools/logtool/report_html.h"

namespace logtool {
namespace {

std::string fileName(const ScannedRun& run) {
  return std::filesystem::u8path(run.logPath).filename().u8string();
}

std::string metres(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f m", value);
  return text;
}

// The page's language: the one the runs were read in.
Language languageOf(const Comparison& comparison) { return comparison.runs.front().scan.language; }

// The text in the page's language with values filled in, escaped for HTML.
std::string html(const Comparison& comparison, UiText text,
                 const std::vector<std::string>& values = {}) {
  return escapeHtml(fillText(text, languageOf(comparison), values));
}

void writeRuns(const Comparison& comparison, std::ostream& out) {
  out << "<ol id=\"runs\">\n";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    const ScannedRun& run = comparison.runs[r].scan;
    out << "<li><i class=\"swatch\" style=\"background:" << runColor(r) << "\"></i><b>"
        << escapeHtml(fileName(run)) << "</b> <span class=\"path\">" << escapeHtml(run.logPath)
        << "</span><ul class=\"notes\">";
    for (const std::string& note : scanNotes(run)) out << "<li>" << escapeHtml(note) << "</li>";
    out << "</ul></li>\n";
  }
  out << "</ol>\n<p id=\"stretch\">"
      << html(comparison, UiText::kSharedStretch,
              {metres(locationAt(comparison, comparison.sharedFrom)),
               metres(locationAt(comparison, comparison.sharedTo)),
               uiText(comparison.direction > 0 ? UiText::kLocationRising : UiText::kLocationFalling,
                      languageOf(comparison))})
      << "<br>" << html(comparison, UiText::kStationsPaired, {metres(kStationTolerance)})
      << "</p>\n";
}

void writeStops(const Comparison& comparison, std::ostream& out) {
  out << "<h2>" << html(comparison, UiText::kStopsHeading)
      << "</h2>\n<table id=\"stations\"><thead><tr><th rowspan=\"2\">"
      << html(comparison, UiText::kStation) << "</th>";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    out << "<th colspan=\"4\" style=\"border-top:3px solid " << runColor(r) << "\">"
        << escapeHtml(fileName(comparison.runs[r].scan)) << "</th>";
  }
  out << "</tr><tr>";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    for (const UiText heading :
         {UiText::kArrived, UiText::kDeparted, UiText::kDwell, UiText::kPosition}) {
      out << "<th>" << html(comparison, heading) << "</th>";
    }
  }
  out << "</tr></thead><tbody>\n";
  for (const Station& station : comparison.stations) {
    out << "<tr class=\"station\"><td>"
        << escapeHtml(metres(locationAt(comparison, station.position))) << "</td>";
    for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
      if (station.stop[r] < 0) {
        out << "<td colspan=\"4\" class=\"no-stop\">" << html(comparison, UiText::kNoStop)
            << "</td>";
        continue;
      }
      const RunSummary& summary = comparison.runs[r].scan.summary;
      const std::vector<std::string> fields =
          stopFields(summary.stops[static_cast<std::size_t>(station.stop[r])], summary,
                     comparison.runs[r].scan.language);
      for (std::size_t f = 0; f < 4; ++f) out << "<td>" << escapeHtml(fields[f]) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table>\n";
}

void writeSummaries(const Comparison& comparison, std::ostream& out) {
  out << "<h2>" << html(comparison, UiText::kEachRun) << "</h2>\n<div id=\"summaries\">";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    const ScannedRun& run = comparison.runs[r].scan;
    out << "<div><h3><i class=\"swatch\" style=\"background:" << runColor(r) << "\"></i>"
        << escapeHtml(fileName(run)) << "</h3><pre class=\"summary\">"
        << escapeHtml(formatSummary(run.summary, run.language)) << "</pre></div>";
  }
  out << "</div>\n";
}

// A series as JSON, null when the log lacks it.
void writeSeries(const char* name, const std::vector<double>& values, const char* format,
                 std::ostream& out) {
  out << ",\"" << name << "\":";
  if (values.empty()) {
    out << "null";
  } else {
    writeNumbers(values, format, out);
  }
}

void writeData(const Comparison& comparison, std::ostream& out) {
  out << "{\"direction\":" << comparison.direction << ",\"stations\":";
  std::vector<double> stations;
  for (const Station& station : comparison.stations) stations.push_back(station.position);
  writeNumbers(stations, "%.10g", out);
  out << ",\"runs\":[";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    const RunOnRoute& run = comparison.runs[r];
    const std::string label =
        fillText(UiText::kRunLabel, run.scan.language, {std::to_string(r + 1), fileName(run.scan)});
    out << (r > 0 ? "," : "") << "{\"label\":" << jsonString(label)
        << ",\"color\":" << jsonString(runColor(r));
    writeSeries("position", run.position, "%.10g", out);
    writeSeries("speed", run.speed, "%.7g", out);
    writeSeries("power", run.power, "%.7g", out);
    writeSeries("brake", run.brake, "%.7g", out);
    writeSeries("brakeCylinder", run.brakeCylinder, "%.7g", out);
    writeSeries("timeDifferencePosition", run.timeDifferencePosition, "%.10g", out);
    writeSeries("timeDifference", run.timeDifference, "%.6f", out);
    out << '}';
  }
  out << "]}";
}

}  // namespace

const char* runColor(std::size_t index) {
  static const char* const colors[] = {"#1f77b4", "#d62728", "#2ca02c",
                                       "#9467bd", "#ff7f0e", "#8c564b"};
  return colors[index % (sizeof colors / sizeof colors[0])];
}

void writeComparison(const Comparison& comparison, std::ostream& out) {
  const Language language = languageOf(comparison);
  std::string names;
  for (const RunOnRoute& run : comparison.runs) {
    names += (names.empty() ? "" : " / ") + fileName(run.scan);
  }
  out << "<!DOCTYPE html>\n<html lang=\"" << languageCode(language)
      << "\"><head><meta charset=\"utf-8\">" << kPageGenerator << "\n<title>"
      << html(comparison, UiText::kComparisonTitle, {names}) << "</title>\n<style>" << kUplotStyle
      << "</style>\n<style>" << kReportStyle << kCompareStyle << "</style>\n</head><body>\n<h1>"
      << html(comparison, UiText::kComparisonHeading) << "</h1>\n";
  writeRuns(comparison, out);
  writeStops(comparison, out);
  writeSummaries(comparison, out);
  out << "<h2>" << html(comparison, UiText::kChartsHeading)
      << "</h2>\n<div id=\"controls\"><button id=\"show-all\" type=\"button\">"
      << html(comparison, UiText::kShowAll) << "</button> <span class=\"hint\">"
      << html(comparison, UiText::kCompareHint)
      << "</span><div id=\"pointed-run\"></div></div>\n<div id=\"charts\"></div>\n"
      << "<pre id=\"self-check\" hidden></pre>\n<script>" << kUplotScript
      << "</script>\n<script id=\"run-data\" type=\"application/json\">";
  writeData(comparison, out);
  out << "</script>\n";
  writePageTexts({{"speedChart", UiText::kRunCurveChart},
                  {"timeDifferenceChart", UiText::kTimeDifferenceChart},
                  {"notchChart", UiText::kNotchChart},
                  {"brakeCylinderChart", UiText::kBrakeCylinderChart},
                  {"power", UiText::kPowerLine},
                  {"brake", UiText::kBrakeLine},
                  {"location", UiText::kLocationAxis},
                  {"pointedAt", UiText::kPointedAt}},
                 language, out);
  out << "<script>" << kChartPngScript << "</script>\n<script>" << kChartZoomScript
      << "</script>\n<script>" << kCompareScript << "</script>\n</body></html>\n";
}

}  // namespace logtool
