#include "tools/logtool/page_texts.h"

#include <utility>

#include "tools/logtool/report_html.h"

namespace logtool {

const PageTexts& pageTexts() {
  static const PageTexts english = {
      "run comparison",
      "Runs compared along the route",
      "run",
      "Compared over the stretch all runs share:",
      "location rising",
      "location falling",
      "Stops of different runs within this many metres are one station:",
      "Stops",
      "station",
      "arrived",
      "departed",
      "dwell",
      "position",
      "no stop",
      "Each run",
      "Charts",
      "show all",
      "drag across a chart to zoom, double-click to show all, point at a line to name its run",
      "Run curves: speed over location (km/h)",
      "Time difference to the first run (s; negative: ahead of it)",
      "Power and brake notches (brake dashed)",
      "Brake cylinder pressure (kPa)",
      "power",
      "brake",
      "location",
      "pointing at:",
      "save as PNG",
  };
  return english;
}

void writePageTexts(std::ostream& out, const char* savePng) {
  const PageTexts& texts = pageTexts();
  const std::pair<const char*, const char*> entries[] = {
      {"speedChart", texts.speedChart}, {"timeDifferenceChart", texts.timeDifferenceChart},
      {"notchChart", texts.notchChart}, {"brakeCylinderChart", texts.brakeCylinderChart},
      {"power", texts.power},           {"brake", texts.brake},
      {"location", texts.location},     {"run", texts.run},
      {"pointedAt", texts.pointedAt},   {"savePng", savePng != nullptr ? savePng : texts.savePng},
  };
  out << "<script id=\"page-texts\" type=\"application/json\">{";
  bool first = true;
  for (const auto& [name, text] : entries) {
    out << (first ? "" : ",") << jsonString(name) << ':' << jsonString(text);
    first = false;
  }
  out << "}</script>\n";
}

}  // namespace logtool
