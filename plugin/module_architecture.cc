#include "plugin/module_architecture.h"

#include <cstdint>

#include "platform/platform.h"

namespace plugin {
namespace {

// The little-endian unsigned integer of size bytes at offset, or -1 when the
// header is too short.
int64_t littleEndian(std::string_view header, std::size_t offset, std::size_t size) {
  if (offset + size > header.size()) return -1;
  int64_t value = 0;
  for (std::size_t at = size; at-- > 0;) {
    value = value * 256 + static_cast<unsigned char>(header[offset + at]);
  }
  return value;
}

std::string peArchitecture(std::string_view header) {
  const int64_t peOffset = littleEndian(header, 0x3c, 4);
  if (peOffset < 0 ||
      header.substr(static_cast<std::size_t>(peOffset), 4) != std::string_view("PE\0\0", 4)) {
    return std::string();
  }
  switch (littleEndian(header, static_cast<std::size_t>(peOffset) + 4, 2)) {
    case 0x014c:
      return "32-bit x86 (Windows DLL)";
    case 0x8664:
      return "64-bit x64 (Windows DLL)";
    case 0xaa64:
      return "64-bit ARM64 (Windows DLL)";
    default:
      return std::string();
  }
}

std::string elfArchitecture(std::string_view header) {
  if (header.size() < 20) return std::string();
  const char elfClass = header[4];
  switch (littleEndian(header, 18, 2)) {
    case 3:
      return "32-bit x86 (Linux shared object)";
    case 62:
      return elfClass == 2 ? "64-bit x86-64 (Linux shared object)"
                           : "32-bit x32 (Linux shared object)";
    case 183:
      return "64-bit ARM64 (Linux shared object)";
    default:
      return std::string();
  }
}

}  // namespace

std::string architectureOfHeader(std::string_view header) {
  if (header.substr(0, 2) == "MZ") return peArchitecture(header);
  if (header.substr(0, 4) ==
      "\x7f"
      "ELF")
    return elfArchitecture(header);
  return std::string();
}

std::string architectureOfFile(const std::string& path) {
  const platform::FileHandle file = platform::openForReading(path);
  if (!file.isOpen()) return std::string();
  // The PE header follows the DOS stub, which is short in every linker's output.
  char buffer[4096];
  const std::ptrdiff_t count = platform::readFileAt(file, 0, buffer, sizeof buffer);
  if (count <= 0) return std::string();
  return architectureOfHeader(std::string_view(buffer, static_cast<std::size_t>(count)));
}

}  // namespace plugin
