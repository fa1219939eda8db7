#include "bench/subjects.h"

#include <stdexcept>

#include "logger/value_table.h"

namespace bench {

std::vector<std::string> everyKey() {
  std::vector<std::string> keys;
  for (int index = 0; index < logger::kValueKeyCount; ++index) {
    keys.emplace_back(logger::keyText(static_cast<logger::ValueKey>(index)));
  }
  return keys;
}

InstalledModule::InstalledModule(const std::string& builtModule, int32_t interval,
                                 bool decimalComma, const std::vector<std::string>& extraKeys,
                                 const std::string& chainedPlugin) {
  std::string columns;
  for (const std::string& key : everyKey()) columns += key + "," + key + "\n";
  for (const std::string& key : extraKeys) columns += key + "," + key + "\n";
  directory_.write("Logger.csv", columns);
  std::string settings = "[Frame]\nSkip=" + std::to_string(interval) +
                         "\n[Log]\nDecimalComma=" + (decimalComma ? "1" : "0") + "\n";
  if (!chainedPlugin.empty()) settings += "[Chain]\nPlugin=" + chainedPlugin + "\n";
  directory_.write("Logger.ini", settings);
  const std::filesystem::path installed = directory_.path() / plugin::defaultModuleFileName();
  std::filesystem::copy_file(builtModule, installed);
  std::string error;
  if (!module_.open(installed.string(), &error)) throw std::runtime_error(error);
  module_.Load();
  module_.SetPower(kPowerNotch);
  module_.SetBrake(kBrakeNotch);
  module_.SetReverser(kReverserPosition);
  module_.SetSignal(kSignal);
  module_.DoorClose();
  module_.SetBeaconData(kBeacon);
}

void startReferenceRun(int32_t interval, ReferenceLogger* reference) {
  reference->load(everyKey(), interval);
  reference->setPower(kPowerNotch);
  reference->setBrake(kBrakeNotch);
  reference->setReverser(kReverserPosition);
  reference->setSignal(kSignal);
  reference->doorClose();
  reference->setBeaconData(kBeacon);
}

}  // namespace bench
