// The train's own plug-in the module chains, named in the module's own INI
// file (never the shared "Ats.ini", which every plug-in reads):
//   [Chain]
//   Plugin=..\Ats\TrainPlugin.dll
// Plugin64 and Plugin32 name a file for one architecture and take
// precedence over Plugin in the build of that architecture.
#ifndef LOGGER_SETTINGS_CHAIN_SETTINGS_H_
#define LOGGER_SETTINGS_CHAIN_SETTINGS_H_

#include <string>

namespace settings {

constexpr const char* kChainSection = "Chain";
constexpr const char* kChainKey = "Plugin";

// The key of this build's own architecture: "Plugin64" or "Plugin32".
const char* architectureChainKey();

// The chained plug-in's path from the INI file at settingsPath, with either
// '\\' or '/' between components, made the platform's own and, when
// relative, taken from moduleDirectory; empty when the file names none.
std::string chainedPluginPath(const std::string& settingsPath, const std::string& moduleDirectory);

// path with '\\' and '/' turned into separator and, unless it is absolute
// (it starts with a separator, or with a drive letter and ':' where the
// separator is '\\'), put under directory.
std::string resolvePluginPath(const std::string& path, const std::string& directory,
                              char separator);

}  // namespace settings

#endif  // LOGGER_SETTINGS_CHAIN_SETTINGS_H_
