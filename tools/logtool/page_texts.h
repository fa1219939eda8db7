// The fixed texts logtool's comparison page and its charts' PNG button show,
// kept in one place (the page's script gets them with the data).
#ifndef LOGGER_TOOLS_LOGTOOL_PAGE_TEXTS_H_
#define LOGGER_TOOLS_LOGTOOL_PAGE_TEXTS_H_

#include <ostream>

namespace logtool {

struct PageTexts {
  const char* comparisonTitle;  // after the logs' names in the window's title
  const char* heading;
  const char* run;      // "run" before a run's number
  const char* stretch;  // before the shared stretch
  const char* locationRising;
  const char* locationFalling;
  const char* stationsPaired;  // how stops are paired, before the tolerance in m
  const char* stops;
  const char* station;
  const char* arrived;
  const char* departed;
  const char* dwell;
  const char* position;
  const char* noStop;
  const char* summaries;
  const char* charts;
  const char* showAll;
  const char* hint;
  // For the page's script:
  const char* speedChart;
  const char* timeDifferenceChart;
  const char* notchChart;
  const char* brakeCylinderChart;
  const char* power;
  const char* brake;
  const char* location;
  const char* pointedAt;
  const char* savePng;  // the charts' button, on the report too
};

// The texts in English.
const PageTexts& pageTexts();

// Writes the texts the pages' scripts show, as the JSON script element
// "page-texts"; savePng, when given, in place of the English one (the
// report's language).
void writePageTexts(std::ostream& out, const char* savePng = nullptr);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_PAGE_TEXTS_H_
