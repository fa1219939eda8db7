#include "plugin/chain.h"

#include <cstdio>

#include "logger/run_files.h"
#include "platform/platform.h"
#include "plugin/module_architecture.h"
#include "settings/chain_settings.h"

namespace plugin {
namespace {

// The interface version as the host prints it, such as "0x00020000".
std::string versionText(int32_t version) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(version));
  return text;
}

// path with its last ".ini" cut off.
std::string withoutIniExtension(const std::string& path) { return path.substr(0, path.size() - 4); }

}  // namespace

bool Chain::load(const std::string& modulePath, void(LOGGER_CALL* self)()) {
  if (active()) return true;
  const logger::RunFiles files = logger::deriveRunFiles(modulePath);
  errorFilePath_ = files.settingsPath.empty()
                       ? std::string()
                       : withoutIniExtension(files.settingsPath) + kChainErrorSuffix;
  pluginPath_ = settings::chainedPluginPath(files.settingsPath, files.directory);
  if (pluginPath_.empty()) return false;
  std::string error;
  std::string missingEntryPoint;
  if (!plugin_.open(pluginPath_, &error, &missingEntryPoint)) {
    writeErrorFile(missingEntryPoint.empty() ? loadFailure(error)
                                             : "it has no entry point " + missingEntryPoint);
    return false;
  }
  if (plugin_.Load == self) {
    reject("it is this logger itself");
    return false;
  }
  const int32_t version = plugin_.GetPluginVersion();
  if (version != kPluginInterfaceVersion) {
    reject("it answers interface version " + versionText(version) + ", and the host needs " +
           versionText(kPluginInterfaceVersion));
    return false;
  }
  return true;
}

void Chain::reject(const std::string& reason) {
  plugin_.close();
  writeErrorFile(reason);
}

void Chain::confirm() {
  // Usually there is none to remove.
  if (!errorFilePath_.empty()) static_cast<void>(platform::removeFile(errorFilePath_));
}

std::string Chain::loadFailure(const std::string& loaderMessage) const {
  if (!platform::fileExists(pluginPath_)) return "the file does not exist";
  const std::string found = architectureOfFile(pluginPath_);
  const std::string needed = architectureOfFile(platform::modulePath());
  if (!found.empty() && !needed.empty() && found != needed) {
    return "it is built for " + found + ", and this logger needs " + needed;
  }
  return "it cannot be loaded (" + loaderMessage + ")";
}

void Chain::writeErrorFile(const std::string& reason) const {
  if (errorFilePath_.empty()) return;
  const std::string text =
      "The logger could not chain the plug-in " + pluginPath_ + ":\r\n" + reason +
      ".\r\nThe train runs without its own plug-in; the logger logs alone. Mend or remove the "
      "[Chain]\r\nsection of the logger's INI file, then load the train again.\r\n";
  static_cast<void>(platform::removeFile(errorFilePath_));  // an earlier run's, if any
  platform::FileHandle file;
  if (platform::createNewFile(errorFilePath_, &file) == platform::CreateResult::kCreated &&
      !platform::writeFile(file, text.data(), text.size())) {
    platform::removeOpenFile(&file, errorFilePath_);  // no torn message
  }
}

}  // namespace plugin
