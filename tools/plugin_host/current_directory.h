// The process's current directory, changed for a while and then set back, as
// a host does around a run and tests do around a piece of one.
#ifndef LOGGER_TOOLS_PLUGIN_HOST_CURRENT_DIRECTORY_H_
#define LOGGER_TOOLS_PLUGIN_HOST_CURRENT_DIRECTORY_H_

#include <filesystem>
#include <system_error>

namespace plugin_host {

// Makes a directory the process's current one for as long as it lives.
class CurrentDirectory {
 public:
  // Enters directory; throws std::filesystem::filesystem_error when it cannot.
  explicit CurrentDirectory(const std::filesystem::path& directory);
  // Enters directory; when it cannot, sets error and leaves the current one as it is.
  CurrentDirectory(const std::filesystem::path& directory, std::error_code& error);
  // Returns to the directory that was current before, if it entered another.
  ~CurrentDirectory();
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;  // empty when it entered none
};

}  // namespace plugin_host

#endif  // LOGGER_TOOLS_PLUGIN_HOST_CURRENT_DIRECTORY_H_
