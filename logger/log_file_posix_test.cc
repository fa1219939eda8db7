// A log whose file cannot be cut back at the run's end, the disk having
// refused a chunk during the run or not: injected failures of the system
// calls.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "logger/log_file.h"
#include "logger/running_log.h"
#include "tests/interposed_calls_posix.h"
#include "tests/temporary_directory.h"

namespace logger {
namespace {

using testing_support::CallHooksRemoved;
using testing_support::hookCall;
using testing_support::InterposedCall;
using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

TEST(LogFileFaultTest, AFileThatCannotBeCutKeepsItsRowsAndThePartInMemoryFollowsThem) {
  for (const bool fullDisk : {true, false}) {
    TemporaryDirectory directory;
    CallHooksRemoved hooksRemoved;
    platform::FileHandle file;
    std::string path;
    ASSERT_TRUE(createRunningLog(directory.path().string(), "Log_251007-114225", &file, &path));
    LogBuffer log;
    // The first chunk gets its room on the disk, none after it.
    int reservations = 0;
    hookCall(InterposedCall::kPosixFallocate,
             [&] { return ++reservations > 1 && fullDisk ? ENOSPC : 0; });
    ASSERT_TRUE(log.mapInto(&file));
    std::string expected = "title,\r\n";
    log.append(expected);
    for (int row = 1; expected.size() < (fullDisk ? 3 : 1) * LogBuffer::kChunkSize / 2; ++row) {
      const std::string text = "row " + std::to_string(row) + ",65,\r\n";
      log.append(text);
      expected += text;
    }
    EXPECT_EQ(log.fileLength() < expected.size(), fullDisk);
    hookCall(InterposedCall::kFtruncate, [] { return EIO; });
    file = log.releaseFile();
    EXPECT_TRUE(writeLogFile(log, file));
    file.close();
    const std::string bytes = readFileBytes(path);
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(bytes.substr(0, expected.size()), expected) << "full disk " << fullDisk;
    EXPECT_EQ(bytes.find_first_not_of('\0', expected.size()), std::string::npos);
  }
}

}  // namespace
}  // namespace logger
