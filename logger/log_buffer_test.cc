#include "logger/log_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/log_buffer_text.h"

namespace logger {
namespace {

using testing_support::logBufferText;

TEST(LogBufferTest, PiecesSpanningChunksReadBackInOrder) {
  LogBuffer log;
  std::string expected;
  const std::string large(LogBuffer::kChunkSize + 12345, 'x');
  for (const std::string& piece : {std::string("header,\r\n"), large, std::string("tail")}) {
    log.append(piece);
    expected += piece;
  }
  char* room = log.reserve(40);
  std::memcpy(room, "reserved", 8);
  log.commit(room + 8);
  expected += "reserved";
  EXPECT_EQ(logBufferText(log), expected);
}

TEST(LogBufferTest, TruncateGoesBackToAMarkAcrossChunks) {
  LogBuffer log;
  log.append("kept");
  const LogBuffer::Mark mark = log.mark();
  log.append(std::string(3 * LogBuffer::kChunkSize, 'y'));
  log.truncate(mark);
  log.append("+more");
  EXPECT_EQ(logBufferText(log), "kept+more");
}

TEST(LogBufferTest, AnEmptyLogHasNoPiecesAndClearGivesEverythingBack) {
  LogBuffer log;
  int pieces = 0;
  log.forEachPiece([&pieces](const char*, std::size_t) { return ++pieces, true; });
  EXPECT_EQ(pieces, 0);
  log.truncate(log.mark());
  log.append("abc");
  log.clear();
  EXPECT_EQ(logBufferText(log), "");
}

TEST(LogBufferTest, AFailedWriteStopsThePieces) {
  LogBuffer log;
  log.append(std::string(2 * LogBuffer::kChunkSize + 1, 'z'));
  int calls = 0;
  EXPECT_FALSE(log.forEachPiece([&calls](const char*, std::size_t) { return ++calls, false; }));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace logger
