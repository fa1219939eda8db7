#include "tools/logtool/output_file.h"

#include <filesystem>
#include <random>
#include <stdexcept>

namespace logtool {
namespace fs = std::filesystem;

OutputFile::OutputFile(const std::string& target) : target_(target) {
  // A name beside the target that nothing holds yet: the same folder, so the
  // rename stays on one file system.
  const std::string stem = target + "." + std::to_string(std::random_device{}() % 1000000) + "-";
  std::error_code error;
  for (int attempt = 0; attempt < 1000 && temporary_.empty(); ++attempt) {
    const std::string candidate = stem + std::to_string(attempt) + ".partial";
    if (!fs::exists(fs::u8path(candidate), error) && !error) temporary_ = candidate;
  }
  if (!temporary_.empty()) file_.open(fs::u8path(temporary_), std::ios::binary | std::ios::trunc);
  if (temporary_.empty() || !file_) {
    temporary_.clear();
    throw std::runtime_error(target + ": cannot create a file in its folder");
  }
}

OutputFile::~OutputFile() {
  if (committed_ || temporary_.empty()) return;
  file_.close();
  std::error_code error;
  fs::remove(fs::u8path(temporary_), error);
}

void OutputFile::commit() {
  file_.close();
  if (!file_) throw std::runtime_error(target_ + ": cannot write it");
  std::error_code error;
  fs::rename(fs::u8path(temporary_), fs::u8path(target_), error);
  if (error) throw std::runtime_error(target_ + ": cannot put it in place: " + error.message());
  committed_ = true;
}

}  // namespace logtool
