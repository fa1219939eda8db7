#include "tools/plugin_host/current_directory.h"

namespace plugin_host {
namespace {

namespace fs = std::filesystem;

// Enters directory and returns the directory that was current before; when it
// cannot, sets error and returns an empty path.
fs::path enter(const fs::path& directory, std::error_code& error) {
  fs::path previous = fs::current_path(error);
  if (!error) fs::current_path(directory, error);
  if (error) previous.clear();
  return previous;
}

}  // namespace

CurrentDirectory::CurrentDirectory(const fs::path& directory) {
  std::error_code error;
  previous_ = enter(directory, error);
  if (error) throw fs::filesystem_error("cannot enter the directory", directory, error);
}

CurrentDirectory::CurrentDirectory(const fs::path& directory, std::error_code& error)
    : previous_(enter(directory, error)) {}

CurrentDirectory::~CurrentDirectory() {
  std::error_code ignored;
  if (!previous_.empty()) fs::current_path(previous_, ignored);
}

}  // namespace plugin_host
