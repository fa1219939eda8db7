#include "logger/log_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "logger/running_log.h"
#include "platform/platform.h"
#include "tests/log_buffer_text.h"
#include "tests/temporary_directory.h"

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

// Rows written as the row writer writes them: room for more than the row,
// bytes beyond its end scribbled on, only the row committed.
void writeRow(LogBuffer* log, const std::string& row) {
  char* at = log->reserve(row.size() + 16);
  std::memcpy(at, row.data(), row.size());
  std::memset(at + row.size(), '#', 16);
  log->commit(at + row.size());
}

// A log mapped into a fresh in-progress file in directory; its path into *path.
void mapIntoNewFile(const testing_support::TemporaryDirectory& directory, LogBuffer* log,
                    std::string* path) {
  platform::FileHandle file;
  ASSERT_TRUE(createRunningLog(directory.path().string(), "Log_251007-114225", &file, path));
  ASSERT_TRUE(log->mapInto(&file));
}

TEST(MappedLogBufferTest, RowsAcrossManyChunksReachTheFileWholeAndInOrder) {
  testing_support::TemporaryDirectory directory;
  LogBuffer log;
  std::string path;
  mapIntoNewFile(directory, &log, &path);
  std::string expected = "header,\r\n";
  log.append(expected);
  // Rows of every length up to 700 bytes, some 5 MiB in all, and now and then
  // one too long to start in the view mapped ahead, or to fit in it at all.
  for (int row = 0; expected.size() < 5 * LogBuffer::kChunkSize; ++row) {
    std::size_t length = static_cast<std::size_t>(row * 7919 % 700);
    if (row % 1500 == 1499) length = LogBuffer::kAheadOverlap + 4321 + row;
    if (row % 6000 == 5999) length = LogBuffer::kChunkSize + row;
    std::string text(length, static_cast<char>('a' + row % 26));
    text += "\r\n";
    writeRow(&log, text);
    expected += text;
  }
  EXPECT_TRUE(log.hasFile());
  EXPECT_EQ(log.fileLength(), expected.size());
  EXPECT_EQ(logBufferText(log), "");  // nothing is held in memory
  // The file may be read while the run lasts: it starts with the log so far.
  EXPECT_EQ(testing_support::readFileBytes(path).substr(0, expected.size()), expected);
  platform::FileHandle file = log.releaseFile();
  EXPECT_EQ(platform::fileSize(file), static_cast<int64_t>(expected.size()));
  file.close();
  EXPECT_EQ(testing_support::readFileBytes(path), expected);
}

// The first view ends at one chunk; the view ahead reaches back before that.
// A row that starts there but is longer than the rest of the view ahead gets
// a view of its own size.
TEST(MappedLogBufferTest, ARowLongerThanTheViewAheadGetsAViewOfItsOwn) {
  testing_support::TemporaryDirectory directory;
  LogBuffer log;
  std::string path;
  mapIntoNewFile(directory, &log, &path);
  const std::string filler(LogBuffer::kChunkSize - 100, 'f');
  const std::string row = std::string(LogBuffer::kChunkSize + 1000, 'r') + "\r\n";
  log.append(filler);
  writeRow(&log, row);
  writeRow(&log, "after\r\n");
  log.releaseFile().close();
  EXPECT_EQ(testing_support::readFileBytes(path), filler + row + "after\r\n");
}

TEST(MappedLogBufferTest, TruncateGoesBackWithinTheFile) {
  testing_support::TemporaryDirectory directory;
  LogBuffer log;
  std::string path;
  mapIntoNewFile(directory, &log, &path);
  log.append("kept,\r\n");
  const LogBuffer::Mark mark = log.mark();
  log.append("dropped");
  log.truncate(mark);
  writeRow(&log, "next,\r\n");
  log.releaseFile().close();
  EXPECT_EQ(testing_support::readFileBytes(path), "kept,\r\nnext,\r\n");
}

}  // namespace
}  // namespace logger
