#include "logger/log_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/temporary_directory.h"

namespace logger {
namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

TEST(LogFileTest, WholeLinesEndAtTheLastLineFeedWithinTheWrittenPart) {
  LogBuffer log;
  log.append("H,\r\n");
  log.append(std::string(LogBuffer::kChunkSize - 4, 'x'));  // fills the first chunk
  log.append("\r\n1,\r\n2,");
  const std::size_t rowOneStart = LogBuffer::kChunkSize + 2;
  for (const auto& [size, expected] : std::initializer_list<std::pair<std::size_t, std::size_t>>{
           {0, 0},
           {3, 0},
           {4, 4},
           {LogBuffer::kChunkSize, 4},
           {LogBuffer::kChunkSize + 2, rowOneStart},
           {rowOneStart + 3, rowOneStart},
           {rowOneStart + 4, rowOneStart + 4},
           {rowOneStart + 6, rowOneStart + 4}}) {
    EXPECT_EQ(wholeLinesLength(log, size), expected) << "size " << size;
  }
  EXPECT_EQ(wholeLinesLength(LogBuffer(), 0), 0u);
}

TEST(LogFileTest, AWholeLogIsWrittenAsItIs) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "log.csv").string();
  LogBuffer log;
  const std::string text = "A,B,\r\n" + std::string(LogBuffer::kChunkSize, 'y') + "\r\n1,2,\r\n";
  log.append(text);
  platform::FileHandle file;
  ASSERT_EQ(platform::createNewFile(path, &file), platform::CreateResult::kCreated);
  EXPECT_TRUE(writeLogFile(log, file));
  file.close();
  EXPECT_EQ(readFileBytes(path), text);
}

}  // namespace
}  // namespace logger
