// A file logtool writes (a converted log, a page), written under a temporary
// name beside its target and renamed over it only when whole: a failed run
// leaves the target as it was and removes nothing but its own temporary file.
#ifndef LOGGER_TOOLS_LOGTOOL_OUTPUT_FILE_H_
#define LOGGER_TOOLS_LOGTOOL_OUTPUT_FILE_H_

#include <fstream>
#include <string>

namespace logtool {

class OutputFile {
 public:
  // Creates a new temporary file beside target; throws std::runtime_error
  // ("TARGET: cannot create ...") when it cannot.
  explicit OutputFile(const std::string& target);
  // Removes the temporary file unless it was committed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Where the content goes.
  std::ostream& stream() { return file_; }

  // Closes the file and renames it to the target, replacing what was there;
  // throws std::runtime_error when the content or the rename failed.
  void commit();

  // The temporary file's path.
  const std::string& temporaryPath() const { return temporary_; }

 private:
  std::string target_;
  std::string temporary_;
  std::ofstream file_;
  bool committed_ = false;
};

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_OUTPUT_FILE_H_
