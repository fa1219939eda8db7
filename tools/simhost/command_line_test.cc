#include "tools/simhost/command_line.h"

#include <gtest/gtest.h>

namespace simhost {
namespace {

TEST(CommandLineTest, OptionsWithValuesAndFlags) {
  CommandLine commandLine;
  std::string error;
  ASSERT_TRUE(parseCommandLine({"--module", "a/Logger.so", "--scenario=stop.scenario", "--workdir",
                                "sim", "--timing", "--quiet", "--version"},
                               &commandLine, &error));
  EXPECT_EQ(commandLine.modulePath, "a/Logger.so");
  EXPECT_EQ(commandLine.scenarioPath, "stop.scenario");
  EXPECT_EQ(commandLine.workDirectory, "sim");
  EXPECT_TRUE(commandLine.timing);
  EXPECT_TRUE(commandLine.quiet);
  EXPECT_TRUE(commandLine.version);
  EXPECT_FALSE(commandLine.help);
  ASSERT_TRUE(parseCommandLine({}, &commandLine, &error));
  EXPECT_TRUE(commandLine.modulePath.empty());
  EXPECT_FALSE(commandLine.timing);
  EXPECT_FALSE(commandLine.version);
}

TEST(CommandLineTest, MistakesAreNamed) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;
  };
  for (const Case& bad :
       {Case{{"--fast"}, "unknown option --fast"}, Case{{"--module"}, "--module needs a value"},
        Case{{"--scenario="}, "--scenario needs a value"},
        Case{{"--timing=yes"}, "unknown option --timing=yes"},
        Case{{"trip.scenario"},
             "unexpected argument trip.scenario (a scenario file goes after --scenario)"}}) {
    CommandLine commandLine;
    std::string error;
    EXPECT_FALSE(parseCommandLine(bad.arguments, &commandLine, &error));
    EXPECT_EQ(error, bad.error);
  }
}

}  // namespace
}  // namespace simhost
