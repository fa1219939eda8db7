#include "bench/summary_table.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/per_call_benchmarks.h"
#include "bench/subjects.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

struct Row {
  std::string measure;
  std::string module;
  std::string reference;
  std::string ratio;  // the reference's figure over the module's
  std::string target;
  std::string met;  // "yes", "NO", or empty where no target applies
};

std::string printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string durationText(double nanoseconds) {
  if (nanoseconds < 1e3) return printed("%.1f ns", nanoseconds);
  if (nanoseconds < 1e6) return printed("%.1f µs", nanoseconds / 1e3);
  if (nanoseconds < 1e9) return printed("%.1f ms", nanoseconds / 1e6);
  return printed("%.2f s", nanoseconds / 1e9);
}

std::string ratioText(double reference, double module) {
  return module > 0 ? printed("%.1f×", reference / module) : "";
}

std::string verdict(bool met) { return met ? "yes" : "NO"; }

double megabytesPerSecond(uint64_t bytes, double seconds) {
  return seconds > 0 ? static_cast<double>(bytes) / seconds / 1e6 : 0;
}

// The median of measure for subject ("module" or "reference"); 0 when not run.
double medianOf(const PerCallMedians& medians, const std::string& measure, const char* subject) {
  const auto found = medians.find(measure + "/" + subject);
  return found == medians.end() ? 0.0 : found->second;
}

// A per-call measure's row; its target, when given, caps the module's median.
Row perCallRow(const PerCallMedians& medians, const std::string& name, const std::string& label,
               double targetNs = 0) {
  const double module = medianOf(medians, name, "module");
  const double reference = medianOf(medians, name, "reference");
  Row row{label, durationText(module), durationText(reference), ratioText(reference, module), "",
          ""};
  if (targetNs > 0) {
    row.target = "≤ " + durationText(targetNs);
    row.met = module > 0 ? verdict(module <= targetNs) : "not run";
  }
  return row;
}

std::vector<Row> perCallRows(const PerCallMedians& medians) {
  std::vector<Row> rows;
  rows.push_back(perCallRow(medians, kElapseUnlogged, "Elapse, not logged (median)", 5));
  const std::string columns = std::to_string(everyKey().size()) + " columns";
  Row logged = perCallRow(medians, kElapseLogged, "Elapse, logged, " + columns + " (median)", 250);
  const double speedup = medianOf(medians, kElapseLogged, "reference") /
                         std::max(medianOf(medians, kElapseLogged, "module"), 1e-9);
  logged.target += ", ≥ 25× faster";
  if (logged.met != "not run") logged.met = verdict(logged.met == "yes" && speedup >= 25);
  rows.push_back(logged);
  // The reference writes the standard log only; the ratio is against it.
  Row comma = perCallRow(medians, kElapseLoggedDecimalComma,
                         "Elapse, logged, " + columns + ", decimal comma (median)");
  comma.reference = logged.reference;
  comma.ratio = ratioText(medianOf(medians, kElapseLogged, "reference"),
                          medianOf(medians, kElapseLoggedDecimalComma, "module"));
  rows.push_back(comma);
  // Against the logged Elapse without a chain and with no panel column.
  const double plain = medianOf(medians, kElapseLogged, "module");
  rows.push_back(perCallRow(
      medians, kElapseLoggedChained,
      "Elapse, logged, " + columns + ", a do-nothing plug-in chained (median)", plain + 20));
  rows.back().target = "≤ plain + 20 ns";
  rows.back().reference = rows.back().ratio = "";
  rows.push_back(perCallRow(medians, kElapseLoggedFourPanels,
                            "Elapse, logged, " + columns + " and 4 PANEL_n (median)", plain * 1.1));
  rows.back().target = "≤ plain + 10 %";
  rows.back().reference = rows.back().ratio = "";
  rows.push_back(perCallRow(medians, kFormatInteger, "formatValue, integer (median)"));
  rows.push_back(perCallRow(medians, kFormatFloat, "formatValue, float (median)"));
  rows.push_back(perCallRow(medians, kFormatDouble, "formatValue, double (median)"));
  rows.push_back(perCallRow(medians, kFormatClockText, "formatValue, clock text (median)"));
  return rows;
}

// A floor run's figures in one row: median, 99.9th percentile, worst, worst
// without a context switch, calls of 100 µs or more and preemptions, timed
// as single Elapse calls are.
Row floorRow(const std::string& label, const LongRunFigures& floor) {
  const auto duration = [](int64_t nanoseconds) {
    return durationText(static_cast<double>(nanoseconds));
  };
  return Row{label +
                 " (mean / median / 99.9th / worst / worst unpreempted / calls ≥ 100 µs / "
                 "preemptions)",
             durationText(floor.meanCallNs) + " / " + duration(floor.medianCallNs) + " / " +
                 duration(floor.p999CallNs) + " / " + duration(floor.worstCallNs) + " / " +
                 duration(floor.worstUnpreemptedNs) + " / " + std::to_string(floor.callsOver100us) +
                 " / " + std::to_string(floor.preemptions),
             "",
             "",
             "",
             floor.measured ? "" : "not run"};
}

std::vector<Row> longRunRows(const BenchResults& results) {
  const LongRunFigures& module = results.module;
  const LongRunFigures& reference = results.reference;
  const std::string rows = std::to_string(results.rows) + " logged rows";
  const auto durationRow = [&](const std::string& label, int64_t moduleNs, int64_t referenceNs) {
    return Row{label + ", " + rows,
               durationText(static_cast<double>(moduleNs)),
               durationText(static_cast<double>(referenceNs)),
               ratioText(static_cast<double>(referenceNs), static_cast<double>(moduleNs)),
               "",
               ""};
  };
  std::vector<Row> table;
  table.push_back(Row{"single Elapse, mean, " + rows, durationText(module.meanCallNs),
                      durationText(reference.meanCallNs),
                      ratioText(reference.meanCallNs, module.meanCallNs), "", ""});
  table.push_back(
      durationRow("single Elapse, median", module.medianCallNs, reference.medianCallNs));
  table.push_back(
      durationRow("single Elapse, 99.9th percentile", module.p999CallNs, reference.p999CallNs));
  table.push_back(durationRow("single Elapse, worst", module.worstCallNs, reference.worstCallNs));
  Row worst = durationRow("single Elapse, worst with no context switch in it",
                          module.worstUnpreemptedNs, reference.worstUnpreemptedNs);
  worst.target = "≤ 1.0 ms";
  worst.met = verdict(module.measured && module.worstUnpreemptedNs <= 1000000);
  table.push_back(worst);
  table.push_back(Row{"single Elapse calls of 100 µs or more",
                      std::to_string(module.callsOver100us),
                      std::to_string(reference.callsOver100us), "", "", ""});
  table.push_back(Row{"preemptions during the frames", std::to_string(module.preemptions),
                      std::to_string(reference.preemptions), "", "", ""});
  table.push_back(Row{"page faults on the host's thread during the frames",
                      std::to_string(module.pageFaults), std::to_string(reference.pageFaults), "",
                      "", ""});
  table.push_back(floorRow("floor: copying each row's bytes into fresh memory", results.copyFloor));
  table.push_back(floorRow("floor: spinning as long as a median Elapse", results.spinFloor));
  table.push_back(floorRow("floor: a chunk switch alone (reserve 1 MiB, map, unmap)",
                           results.chunkSwitchFloor));
  table.push_back(
      floorRow("floor: the first write to a page of a mapped chunk alone", results.pageTouchFloor));
  table.push_back(Row{"Dispose, time", durationText(module.disposeSeconds * 1e9),
                      durationText(reference.disposeSeconds * 1e9),
                      ratioText(reference.disposeSeconds, module.disposeSeconds), "≤ 5.0 ms",
                      verdict(module.measured && module.disposeSeconds <= 0.005)});
  const double moduleRate = megabytesPerSecond(module.logBytes, module.disposeSeconds);
  const double referenceRate = megabytesPerSecond(reference.logBytes, reference.disposeSeconds);
  const double floorRate = megabytesPerSecond(module.logBytes, results.writeFloorSeconds);
  table.push_back(Row{"Dispose, rate (MB = 10^6 bytes)", printed("%.0f MB/s", moduleRate),
                      printed("%.0f MB/s", referenceRate),
                      referenceRate > 0 ? printed("%.2f×", moduleRate / referenceRate) : "", "",
                      ""});
  table.push_back(Row{"floor: plain 1 MiB writes of the same bytes",
                      printed("%.0f MB/s", floorRate), "", "", "", ""});
  table.push_back(Row{"log size", printed("%.1f MiB", module.logBytes / kMiB),
                      printed("%.1f MiB", reference.logBytes / kMiB), "", "", ""});
  table.push_back(Row{"resident memory before the first frame",
                      printed("%.1f MiB", module.startResidentBytes / kMiB),
                      printed("%.1f MiB", reference.startResidentBytes / kMiB), "", "", ""});
  constexpr double kResidentBound = 16 * kMiB;
  table.push_back(Row{"peak resident memory", printed("%.1f MiB", module.peakResidentBytes / kMiB),
                      printed("%.1f MiB", reference.peakResidentBytes / kMiB),
                      ratioText(static_cast<double>(reference.peakResidentBytes),
                                static_cast<double>(module.peakResidentBytes)),
                      "≤ 16 MiB, whatever the run's length",
                      verdict(module.measured && module.peakResidentBytes <= kResidentBound)});
  return table;
}

}  // namespace

void printSummary(const BenchResults& results) {
  std::vector<Row> table = perCallRows(results.medians);
  for (Row& row : longRunRows(results)) table.push_back(row);
  std::printf("\n| Measure | Module | Reference | Reference / module | Target | Met |\n");
  std::printf("|---|---:|---:|---:|---|---|\n");
  int missed = 0;
  for (const Row& row : table) {
    std::printf("| %s | %s | %s | %s | %s | %s |\n", row.measure.c_str(), row.module.c_str(),
                row.reference.c_str(), row.ratio.c_str(), row.target.c_str(), row.met.c_str());
    if (row.met == "NO") ++missed;
  }
  if (!results.module.measured || !results.reference.measured) {
    std::printf("\nA long run failed: its figures are missing.\n");
  }
  std::printf(missed ? "\n%d target(s) missed.\n" : "\nEvery target met.\n", missed);
}

}  // namespace bench
