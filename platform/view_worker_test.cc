#include "platform/view_worker.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "tests/temporary_directory.h"

namespace platform {
namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

constexpr std::size_t kViewSize = std::size_t{1} << 20;

// A file of its own, readable, writable and mappable, with the given bytes.
FileHandle createMappableFile(const std::string& path, const std::string& bytes) {
  FileHandle file;
  EXPECT_EQ(createRunningFile(path, &file), CreateResult::kCreated);
  EXPECT_TRUE(writeFile(file, bytes.data(), bytes.size()));
  return file;
}

// Getting pages ready happens while the writer writes the same view: what
// was in the file and what the writer wrote are both there afterwards.
TEST(ViewWorkerTest, PreparingAViewNeverChangesWhatItsPagesHold) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "view").string();
  const std::string before(kViewSize / 2, 'o');
  FileHandle file = createMappableFile(path, before);
  char* view = mapFileView(file, 0, kViewSize);
  ASSERT_NE(view, nullptr);
  ViewWorker worker;
  worker.prepare(view, kViewSize);
  for (std::size_t at = kViewSize / 2; at < kViewSize; at += 97) {
    view[at] = static_cast<char>('a' + at % 26);
  }
  worker.unmap(view, kViewSize);
  worker.stop();
  std::string expected = before + std::string(kViewSize / 2, '\0');
  for (std::size_t at = kViewSize / 2; at < kViewSize; at += 97) {
    expected[at] = static_cast<char>('a' + at % 26);
  }
  file.close();
  EXPECT_EQ(readFileBytes(path), expected);
}

// More views than may wait at once, handed over as fast as they can be
// mapped, every other one mapped ahead by the worker, and the worker stopped
// and started again between runs: every write reaches the file.
TEST(ViewWorkerTest, EveryViewHandedOverReachesTheFile) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "views").string();
  FileHandle file = createMappableFile(path, "");
  ViewWorker worker;
  EXPECT_EQ(worker.takeViewAhead(), nullptr) << "none was asked for";
  constexpr int kViews = 24;
  for (int index = 0; index < kViews; ++index) {
    const int64_t offset = int64_t{index} * int64_t{kViewSize};
    char* view = nullptr;
    if (index % 2 == 0) {
      view = mapFileView(file, offset, kViewSize);
      worker.prepare(view, kViewSize);
    } else {
      worker.mapViewAhead(file, offset, kViewSize);
      view = worker.takeViewAhead();
    }
    ASSERT_NE(view, nullptr) << "view " << index;
    view[0] = view[kViewSize - 1] = static_cast<char>('A' + index);
    worker.unmap(view, kViewSize);
    if (index == kViews / 2) worker.stop();
  }
  worker.stop();
  file.close();
  const std::string bytes = readFileBytes(path);
  ASSERT_EQ(bytes.size(), kViews * kViewSize);
  for (int index = 0; index < kViews; ++index) {
    const std::size_t start = static_cast<std::size_t>(index) * kViewSize;
    EXPECT_EQ(bytes[start], 'A' + index) << "view " << index;
    EXPECT_EQ(bytes[start + kViewSize - 1], 'A' + index) << "view " << index;
  }
}

// A file that cannot be mapped for writing gives no view ahead, and the
// worker goes on.
TEST(ViewWorkerTest, AViewAheadThatCannotBeMappedIsNone) {
  TemporaryDirectory directory;
  const auto path = directory.write("read-only", std::string(100, 'r'));
  const FileHandle readOnly = openForReading(path.string());
  ASSERT_TRUE(readOnly.isOpen());
  ViewWorker worker;
  worker.mapViewAhead(readOnly, 0, kViewSize);
  EXPECT_EQ(worker.takeViewAhead(), nullptr);
  worker.stop();
  EXPECT_EQ(readFileBytes(path), std::string(100, 'r'));
}

}  // namespace
}  // namespace platform
