// What machine a module file is built for, read from its header, so that a
// chained plug-in of the other architecture is named as such.
#ifndef LOGGER_PLUGIN_MODULE_ARCHITECTURE_H_
#define LOGGER_PLUGIN_MODULE_ARCHITECTURE_H_

#include <string>
#include <string_view>

namespace plugin {

// The architecture a Windows DLL (PE) or a Linux shared object (ELF) header
// names, such as "32-bit x86 (Windows DLL)"; empty when header is neither or
// names a machine not listed.
std::string architectureOfHeader(std::string_view header);

// architectureOfHeader of the first bytes of the file at path; empty when
// it cannot be read.
std::string architectureOfFile(const std::string& path);

}  // namespace plugin

#endif  // LOGGER_PLUGIN_MODULE_ARCHITECTURE_H_
