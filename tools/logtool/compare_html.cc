#include "tools/logtool/compare_html.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/logtool/embedded_files.h"
#include "tools/logtool/page_texts.h"
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

void writeRuns(const Comparison& comparison, const PageTexts& texts, std::ostream& out) {
  out << "<ol id=\"runs\">\n";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    const ScannedRun& run = comparison.runs[r].scan;
    out << "<li><i class=\"swatch\" style=\"background:" << runColor(r) << "\"></i><b>"
        << escapeHtml(fileName(run)) << "</b> <span class=\"path\">" << escapeHtml(run.logPath)
        << "</span><ul class=\"notes\">";
    for (const std::string& note : scanNotes(run)) out << "<li>" << escapeHtml(note) << "</li>";
    out << "</ul></li>\n";
  }
  out << "</ol>\n<p id=\"stretch\">" << texts.stretch << ' '
      << escapeHtml(metres(locationAt(comparison, comparison.sharedFrom))) << " \xe2\x80\x93 "
      << escapeHtml(metres(locationAt(comparison, comparison.sharedTo))) << " ("
      << (comparison.direction > 0 ? texts.locationRising : texts.locationFalling) << ").<br>"
      << texts.stationsPaired << ' ' << escapeHtml(metres(kStationTolerance)) << ".</p>\n";
}

void writeStops(const Comparison& comparison, const PageTexts& texts, std::ostream& out) {
  out << "<h2>" << texts.stops << "</h2>\n<table id=\"stations\"><thead><tr><th rowspan=\"2\">"
      << texts.station << "</th>";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    out << "<th colspan=\"4\" style=\"border-top:3px solid " << runColor(r) << "\">"
        << escapeHtml(fileName(comparison.runs[r].scan)) << "</th>";
  }
  out << "</tr><tr>";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    out << "<th>" << texts.arrived << "</th><th>" << texts.departed << "</th><th>" << texts.dwell
        << "</th><th>" << texts.position << "</th>";
  }
  out << "</tr></thead><tbody>\n";
  for (const Station& station : comparison.stations) {
    out << "<tr class=\"station\"><td>"
        << escapeHtml(metres(locationAt(comparison, station.position))) << "</td>";
    for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
      if (station.stop[r] < 0) {
        out << "<td colspan=\"4\" class=\"no-stop\">" << texts.noStop << "</td>";
        continue;
      }
      const RunSummary& summary = comparison.runs[r].scan.summary;
      const std::vector<std::string> fields =
          stopFields(summary.stops[static_cast<std::size_t>(station.stop[r])], summary);
      for (std::size_t f = 0; f < 4; ++f) out << "<td>" << escapeHtml(fields[f]) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table>\n";
}

void writeSummaries(const Comparison& comparison, const PageTexts& texts, std::ostream& out) {
  out << "<h2>" << texts.summaries << "</h2>\n<div id=\"summaries\">";
  for (std::size_t r = 0; r < comparison.runs.size(); ++r) {
    const ScannedRun& run = comparison.runs[r].scan;
    out << "<div><h3><i class=\"swatch\" style=\"background:" << runColor(r) << "\"></i>"
        << escapeHtml(fileName(run)) << "</h3><pre class=\"summary\">"
        << escapeHtml(formatSummary(run.summary)) << "</pre></div>";
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
    out << (r > 0 ? "," : "") << "{\"name\":" << jsonString(fileName(run.scan))
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
  const PageTexts& texts = pageTexts();
  std::string names;
  for (const RunOnRoute& run : comparison.runs) {
    names += (names.empty() ? "" : " / ") + fileName(run.scan);
  }
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">" << kPageGenerator
      << "\n<title>" << escapeHtml(names) << " \xe2\x80\x94 " << texts.comparisonTitle
      << "</title>\n<style>" << kUplotStyle << "</style>\n<style>" << kReportStyle << kCompareStyle
      << "</style>\n</head><body>\n<h1>" << texts.heading << "</h1>\n";
  writeRuns(comparison, texts, out);
  writeStops(comparison, texts, out);
  writeSummaries(comparison, texts, out);
  out << "<h2>" << texts.charts << "</h2>\n<div id=\"controls\"><button id=\"show-all\" "
      << "type=\"button\">" << texts.showAll << "</button> <span class=\"hint\">" << texts.hint
      << "</span><div id=\"pointed-run\"></div></div>\n<div id=\"charts\"></div>\n"
      << "<pre id=\"self-check\" hidden></pre>\n<script>" << kUplotScript
      << "</script>\n<script id=\"run-data\" type=\"application/json\">";
  writeData(comparison, out);
  out << "</script>\n";
  writePageTexts(out);
  out << "<script>" << kChartPngScript << "</script>\n<script>" << kCompareScript
      << "</script>\n</body></html>\n";
}

}  // namespace logtool
