#include "settings/chain_settings.h"

#include "platform/ini_text.h"
#include "platform/platform.h"

namespace settings {

const char* architectureChainKey() { return sizeof(void*) == 8 ? "Plugin64" : "Plugin32"; }

std::string chainedPluginPath(const std::string& settingsPath, const std::string& moduleDirectory) {
  if (settingsPath.empty()) return std::string();
  std::string path =
      platform::readIniFileString(settingsPath, kChainSection, architectureChainKey());
  if (path.empty()) path = platform::readIniFileString(settingsPath, kChainSection, kChainKey);
  if (path.empty()) return path;
  return resolvePluginPath(path, moduleDirectory, platform::pathSeparator());
}

std::string resolvePluginPath(const std::string& path, const std::string& directory,
                              char separator) {
  std::string resolved = path;
  for (char& c : resolved) {
    if (c == '\\' || c == '/') c = separator;
  }
  if (resolved.empty()) return resolved;
  const bool absolute = resolved.front() == separator ||
                        (separator == '\\' && resolved.size() > 1 && resolved[1] == ':');
  if (absolute || directory.empty()) return resolved;
  if (directory.back() == separator) return directory + resolved;
  return directory + separator + resolved;
}

}  // namespace settings
