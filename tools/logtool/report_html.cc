#include "tools/logtool/report_html.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/logtool/embedded_files.h"

namespace logtool {
namespace {

// A number in JSON with the given printf format; null when not finite.
std::string jsonNumber(double value, const char* format) {
  if (!std::isfinite(value)) return "null";
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool hasLocation(const ScannedRun& run) {
  for (const double x : run.points.location) {
    if (std::isfinite(x)) return true;
  }
  return false;
}

void writeData(const ScannedRun& run, std::ostream& out) {
  out << "{\"timeTitle\":" << jsonString(run.timeTitle)
      << ",\"rowsPerBucket\":" << run.rowsPerBucket << ",\"rows\":" << run.summary.rows
      << ",\"time\":";
  writeNumbers(run.points.time, "%.10g", out);
  out << ",\"location\":";
  if (hasLocation(run)) {
    writeNumbers(run.points.location, "%.10g", out);
  } else {
    out << "null";
  }
  out << ",\"charts\":[";
  for (std::size_t c = 0; c < run.charts.size(); ++c) {
    const ChartSpec& chart = run.charts[c];
    out << (c > 0 ? "," : "") << "{\"id\":" << jsonString(chart.id)
        << ",\"title\":" << jsonString(chart.title) << ",\"lines\":[";
    for (std::size_t l = 0; l < chart.lines.size(); ++l) {
      const ChartLine& line = chart.lines[l];
      out << (l > 0 ? "," : "") << "{\"label\":" << jsonString(line.label)
          << ",\"step\":" << (line.step ? "true" : "false")
          << ",\"right\":" << (line.rightAxis ? "true" : "false") << ",\"values\":";
      writeNumbers(run.points.series[line.series], "%.7g", out);
      out << '}';
    }
    out << "]}";
  }
  out << "],\"events\":[";
  for (std::size_t e = 0; e < run.events.size(); ++e) {
    const RunEvent& event = run.events[e];
    out << (e > 0 ? "," : "") << "{\"kind\":" << jsonString(event.kind)
        << ",\"text\":" << jsonString(event.text) << ",\"at\":[" << jsonNumber(event.time, "%.10g")
        << ',' << jsonNumber(event.location, "%.10g") << "]}";
  }
  out << "]}";
}

// The text in the run's language, escaped for HTML.
std::string html(const ScannedRun& run, UiText text) {
  return escapeHtml(uiText(text, run.language));
}

void writeStopTable(const ScannedRun& run, std::ostream& out) {
  out << "<h2>" << html(run, UiText::kStopsHeading)
      << "</h2>\n<table id=\"stops\"><thead><tr><th>#</th>";
  for (const UiText heading :
       {UiText::kArrived, UiText::kDeparted, UiText::kDwell, UiText::kPosition, UiText::kDoors}) {
    out << "<th>" << html(run, heading) << "</th>";
  }
  out << "</tr></thead><tbody>\n";
  for (std::size_t i = 0; i < run.summary.stops.size(); ++i) {
    out << "<tr class=\"stop\"><td>" << i + 1 << "</td>";
    for (const std::string& field : stopFields(run.summary.stops[i], run.summary, run.language)) {
      out << "<td>" << escapeHtml(field) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table>\n";
}

void writeControls(const ScannedRun& run, std::ostream& out) {
  out << "<div id=\"controls\">" << html(run, UiText::kXAxis)
      << " <label><input type=\"radio\" name=\"x-axis\" value=\"time\" checked> "
      << html(run, UiText::kTimeAxis)
      << "</label> <label><input type=\"radio\" name=\"x-axis\" value=\"location\"> "
      << html(run, UiText::kLocationAxis) << "</label> <button id=\"show-all\" type=\"button\">"
      << html(run, UiText::kShowAll) << "</button> <span class=\"hint\">"
      << html(run, UiText::kZoomHint) << "</span> <span class=\"key\"><i class=\"signal\"></i>"
      << html(run, UiText::kSignalChanges) << " <i class=\"beacon\"></i>"
      << html(run, UiText::kBeaconPassed) << " <i class=\"doors\"></i>"
      << html(run, UiText::kDoorsOpenOrClose);
  if (run.keys.columnOf(ColumnKey::kPluginPower) >= 0 ||
      run.keys.columnOf(ColumnKey::kPluginBrake) >= 0) {
    out << " <i class=\"override\"></i>" << html(run, UiText::kOverrideMarkers);
  }
  out << "</span><div id=\"event-at-cursor\"></div></div>\n<div id=\"charts\"></div>\n";
}

}  // namespace

void writeNumbers(const std::vector<double>& values, const char* format, std::ostream& out) {
  out << '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    out << (i > 0 ? "," : "") << jsonNumber(values[i], format);
  }
  out << ']';
}

bool isLogtoolPage(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
  std::string head(1024, '\0');
  file.read(&head[0], static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  return head.find(kPageGenerator) != std::string::npos;
}

std::string escapeHtml(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped.push_back(c);
    }
  }
  return escaped;
}

void writePageTexts(const std::vector<ScriptText>& texts, Language language, std::ostream& out) {
  out << "<script id=\"page-texts\" type=\"application/json\">{\"savePng\":"
      << jsonString(uiText(UiText::kSavePng, language));
  for (const auto& [name, text] : texts) {
    out << ",\"" << name << "\":" << jsonString(uiText(text, language));
  }
  out << "}</script>\n";
}

std::string jsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json.push_back('\\');
      json.push_back(c);
    } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json.push_back(c);
    }
  }
  return json + "\"";
}

void writeReport(const ScannedRun& run, std::ostream& out) {
  const std::string name = std::filesystem::u8path(run.logPath).filename().u8string();
  const Language language = run.language;
  out << "<!DOCTYPE html>\n<html lang=\"" << languageCode(language)
      << "\"><head><meta charset=\"utf-8\">" << kPageGenerator << "\n<title>"
      << escapeHtml(fillText(UiText::kReportTitle, language, {name})) << "</title>\n<style>"
      << kUplotStyle << "</style>\n<style>" << kReportStyle << "</style>\n</head><body>\n<h1>"
      << escapeHtml(fillText(UiText::kRunHeading, language, {name})) << "</h1>\n<ul id=\"notes\">";
  for (const std::string& note : scanNotes(run)) out << "<li>" << escapeHtml(note) << "</li>";
  if (run.rowsPerBucket > 1) {
    out << "<li>"
        << escapeHtml(
               fillText(UiText::kChartsGrouped, language,
                        {std::to_string(run.summary.rows), std::to_string(run.rowsPerBucket)}))
        << "</li>";
  }
  if (run.eventsLeftOut > 0) {
    out << "<li>"
        << escapeHtml(
               fillText(UiText::kMarkersLeftOut, language, {std::to_string(run.eventsLeftOut)}))
        << "</li>";
  }
  out << "</ul>\n<h2>" << html(run, UiText::kSummaryHeading) << "</h2>\n<pre id=\"summary\">"
      << escapeHtml(formatSummary(run.summary, language)) << "</pre>\n";
  writeStopTable(run, out);
  out << "<h2>" << html(run, UiText::kChartsHeading) << "</h2>\n";
  writeControls(run, out);
  out << "<pre id=\"self-check\" hidden></pre>\n<script>" << kUplotScript
      << "</script>\n<script id=\"run-data\" type=\"application/json\">";
  writeData(run, out);
  out << "</script>\n";
  writePageTexts({{"row", UiText::kRowAxis},
                  {"rowNumber", UiText::kRowNumber},
                  {"location", UiText::kLocationAxis},
                  {"eventAt", UiText::kEventAt},
                  {"locationGoesBack", UiText::kLocationGoesBack}},
                 language, out);
  out << "<script>" << kChartZoomScript << "</script>\n<script>" << kReportScript
      << "</script>\n<script>" << kChartPngScript << "</script>\n</body></html>\n";
}

}  // namespace logtool
