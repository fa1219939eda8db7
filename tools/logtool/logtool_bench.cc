// logtool_bench: how long `logtool summary`, `logtool report` and `logtool
// compare` (of two such logs) take on long logs and how much memory they
// hold, each run as its own process. Writes logs of a made-up trip the way
// the module writes them (20 columns), of several lengths, so that the
// memory can be compared across lengths.
//   logtool_bench [--rows=N] [--logtool=PATH]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "logger/format_value.h"
#include "tests/temporary_directory.h"

extern char** environ;

namespace {

// What one logtool process took.
struct ProcessCost {
  double seconds;     // wall clock, from start to end
  double cpuSeconds;  // user and system time, which a loaded machine does not stretch
  double peakMiB;
  int status;
};

ProcessCost runProcess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  posix_spawn_file_actions_t quiet;  // its output is not what is measured
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return {0, 0, 0, -1};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto cpu = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), usage.ru_maxrss / 1024.0,
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// Appends one field as the module writes it: the value text and a ','.
void appendNumber(double value, std::string* row) {
  char text[logger::kValueTextCapacity + 1];
  row->append(text, logger::formatDouble(value, text));
  row->push_back(',');
}

// Writes a log of rows rows, one per second: a train that runs between
// stations four minutes apart, with its handles, pressures and events; a
// later run (the second log of a comparison) has its clock late seconds on.
void writeLog(const std::filesystem::path& path, long rows, int late = 0) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  std::fputs(
      "Time,Time ms,Location m,Speed km/h,Acceleration km/h/s,Power notch,Brake notch,Reverser,"
      "Brake cylinder kPa,Straight air pipe kPa,Brake pipe kPa,Equalizing reservoir kPa,"
      "Main reservoir kPa,Current A,Signal,Doors closed,Beacon type,Beacon signal,"
      "Beacon distance m,Beacon data,\r\n",
      file);
  std::string row;
  double location = 1000, speed = 0;
  for (long i = 0; i < rows; ++i) {
    const long phase = i % 240;  // 30 s standing, 210 s running
    const double previous = speed;
    speed = phase < 30 ? 0 : 80 * std::sin(M_PI * (phase - 30) / 210.0);
    location += speed / 3.6;
    const int32_t milliseconds = static_cast<int32_t>(36000000 + (i + late) * 1000);
    char text[logger::kValueTextCapacity + 1];
    row.assign(text, logger::formatClockText(milliseconds, text));
    row.push_back(',');
    row.append(text, logger::formatInteger(milliseconds, text));
    row.push_back(',');
    appendNumber(location, &row);
    appendNumber(speed, &row);
    appendNumber(speed - previous, &row);
    row += phase < 100 && phase >= 30 ? "4," : "0,";
    row += phase < 30 ? "4," : (phase > 200 ? "3," : "0,");
    row += "1,";
    const double brake = phase < 30 ? 220 : 0;
    for (const double pressure : {brake, brake, 490.0, 490.0, 800 + 30 * std::cos(i / 50.0)}) {
      appendNumber(pressure, &row);
    }
    appendNumber(phase < 100 && phase >= 30 ? 420 * std::sin(phase / 10.0) : 0, &row);
    row += (phase / 60 % 2) ? "4," : "2,";
    row += phase < 25 ? "false," : "true,";
    row += i < 100 ? ",,,,\r\n" : (i / 240 % 2 ? "1,2,300,0,\r\n" : "0,4,600,0,\r\n");
    std::fwrite(row.data(), 1, row.size(), file);
  }
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  long rows = 1000000;
  std::string logtool = LOGTOOL_PROGRAM;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind("--rows=", 0) == 0) rows = std::stol(argument.substr(7));
    if (argument.rfind("--logtool=", 0) == 0) logtool = argument.substr(10);
  }
  testing_support::TemporaryDirectory directory;  // removed with the logs at the end
  std::printf(
      "| Log | Size | Command | Time | CPU time | Peak memory | HTML |\n"
      "|---|---:|---|---:|---:|---:|---:|\n");
  for (const long length : {rows / 10, rows}) {
    const std::filesystem::path log = directory.path() / ("Log_" + std::to_string(length) + ".csv");
    writeLog(log, length);
    directory.write("Logger.csv", testing_support::readFileBytes(LOGTOOL_COLUMN_FILE));
    const double megabytes = std::filesystem::file_size(log) / 1e6;
    const std::filesystem::path later =
        directory.path() / ("Log_" + std::to_string(length) + "_later.csv");
    writeLog(later, length, 7);
    for (const char* command : {"summary", "report", "compare"}) {
      const std::string html = (directory.path() / "page.html").string();
      std::vector<std::string> arguments = {logtool, command, log.string()};
      if (command == std::string("compare")) arguments.push_back(later.string());
      if (command != std::string("summary")) arguments.insert(arguments.end(), {"-o", html});
      const ProcessCost cost = runProcess(arguments);
      const std::string htmlSize =
          command != std::string("summary")
              ? std::to_string(std::filesystem::file_size(html) / 1000) + " kB"
              : "";
      std::printf("| %ld rows | %.1f MB | %s | %.2f s | %.2f s | %.1f MiB | %s |\n", length,
                  megabytes, command, cost.seconds, cost.cpuSeconds, cost.peakMiB,
                  htmlSize.c_str());
      std::fflush(stdout);
      if (cost.status != 0)
        std::printf("(logtool %s ended with status %d)\n", command, cost.status);
    }
  }
  return 0;
}
