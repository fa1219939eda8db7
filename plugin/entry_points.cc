// The exported entry points: each is thin, hands over to the Logger and to
// the chained plug-in, if any, and lets no exception reach the host.
#include "plugin/entry_points.h"

#include "logger/logger.h"
#include "platform/platform.h"
#include "plugin/chain.h"

namespace {

// The one Logger of the module's lifetime.
logger::Logger theLogger;

// The train's own plug-in, chained from Load to Dispose.
plugin::Chain theChain;

// The handle positions the host last reported, returned by every Elapse
// while no plug-in is chained.
struct HandleMirror {
  int32_t brake;
  int32_t power;
  int32_t reverser;
} handleMirror;

// True while the module calls into the chained plug-in. A call that reaches
// the module meanwhile comes back from that plug-in (the module chained
// itself, or a logger that chains back to it) and is ignored, so that the
// chain never recurses; calledBack says one came.
bool callingChain = false;
bool calledBack = false;

// Runs action and swallows whatever it throws: nothing crosses into the host.
template <typename Action>
void guarded(Action action) noexcept {
  try {
    action();
  } catch (...) {
  }
}

// Marks the module as calling into the chained plug-in for its lifetime.
class CallingChain {
 public:
  CallingChain() { callingChain = true; }
  ~CallingChain() { callingChain = false; }
  CallingChain(const CallingChain&) = delete;
  CallingChain& operator=(const CallingChain&) = delete;
};

// True, and noted, when the call comes back from the chained plug-in.
bool isCallBack() {
  if (callingChain) calledBack = true;
  return callingChain;
}

// Hands the call on to the chained plug-in, if one is chained.
template <typename Call>
void forward(Call call) {
  if (!theChain.active()) return;
  CallingChain scope;
  guarded([&call] { call(theChain.plugin()); });
}

// Chains the plug-in the module's INI file names, unless one is chained,
// and forwards the host's Load to it. A plug-in that calls back into the
// module meanwhile is given its Dispose and dropped.
void loadChain() {
  calledBack = false;
  bool chained;
  {
    CallingChain scope;
    chained = theChain.load(platform::modulePath(), &Load);
  }
  if (!chained || calledBack) {
    if (chained) theChain.reject("it calls back into this logger (a copy of the logger chains it)");
    return;
  }
  forward([](plugin::PluginModule& plugin) { plugin.Load(); });
  if (!calledBack) return theChain.confirm();
  forward([](plugin::PluginModule& plugin) { plugin.Dispose(); });
  theChain.reject("it chains back to this logger (a copy of the logger chains it)");
}

// Elapse with a plug-in chained: the plug-in's first, then the frame logged
// with what it returned, which goes back to the host; a call back from the
// plug-in returns the driver's handles and logs nothing.
Handles chainedElapse(const VehicleState& state, int32_t* panel, int32_t* sound) {
  Handles handles{handleMirror.brake, handleMirror.power, handleMirror.reverser, 0};
  if (isCallBack()) return handles;
  forward([&](plugin::PluginModule& plugin) { handles = plugin.Elapse(state, panel, sound); });
  const logger::FrameInputs inputs{&handles, {panel, sound}};
  guarded([&state, &inputs] { theLogger.sampleFrame(state, inputs); });
  return handles;
}

using logger::ValueKey;

}  // namespace

extern "C" {

void LOGGER_CALL Load() {
  if (isCallBack()) return;
  guarded([] { theLogger.startRun(platform::modulePath()); });
  guarded(loadChain);
}

void LOGGER_CALL Dispose() {
  if (isCallBack()) return;
  guarded([] { theLogger.endRun(); });
  forward([](plugin::PluginModule& plugin) { plugin.Dispose(); });
  guarded([] { theChain.unload(); });
}

int32_t LOGGER_CALL GetPluginVersion() {
  if (!isCallBack()) forward([](plugin::PluginModule& plugin) { plugin.GetPluginVersion(); });
  return kPluginInterfaceVersion;
}

void LOGGER_CALL SetVehicleSpec(VehicleSpec vehicle) {
  if (isCallBack()) return;
  forward([&vehicle](plugin::PluginModule& plugin) { plugin.SetVehicleSpec(vehicle); });
}

void LOGGER_CALL Initialize(int32_t brakeMode) {
  if (isCallBack()) return;
  forward([brakeMode](plugin::PluginModule& plugin) { plugin.Initialize(brakeMode); });
}

Handles LOGGER_CALL Elapse(VehicleState state, int32_t* panel, int32_t* sound) {
  if (theChain.active() || callingChain) return chainedElapse(state, panel, sound);
  const logger::FrameInputs inputs{nullptr, {panel, sound}};
  guarded([&state, &inputs] { theLogger.sampleFrame(state, inputs); });
  return Handles{handleMirror.brake, handleMirror.power, handleMirror.reverser, 0};
}

void LOGGER_CALL SetPower(int32_t notch) {
  if (isCallBack()) return;
  handleMirror.power = notch;
  guarded([notch] { theLogger.values().setInt(ValueKey::kPower, notch); });
  forward([notch](plugin::PluginModule& plugin) { plugin.SetPower(notch); });
}

void LOGGER_CALL SetBrake(int32_t notch) {
  if (isCallBack()) return;
  handleMirror.brake = notch;
  guarded([notch] { theLogger.values().setInt(ValueKey::kBrake, notch); });
  forward([notch](plugin::PluginModule& plugin) { plugin.SetBrake(notch); });
}

void LOGGER_CALL SetReverser(int32_t position) {
  if (isCallBack()) return;
  handleMirror.reverser = position;
  guarded([position] { theLogger.values().setInt(ValueKey::kReverser, position); });
  forward([position](plugin::PluginModule& plugin) { plugin.SetReverser(position); });
}

void LOGGER_CALL KeyDown(int32_t key) {
  if (isCallBack()) return;
  forward([key](plugin::PluginModule& plugin) { plugin.KeyDown(key); });
}

void LOGGER_CALL KeyUp(int32_t key) {
  if (isCallBack()) return;
  forward([key](plugin::PluginModule& plugin) { plugin.KeyUp(key); });
}

void LOGGER_CALL HornBlow(int32_t horn) {
  if (isCallBack()) return;
  forward([horn](plugin::PluginModule& plugin) { plugin.HornBlow(horn); });
}

void LOGGER_CALL DoorOpen() {
  if (isCallBack()) return;
  guarded([] { theLogger.values().setFlag(ValueKey::kPilotLamp, false); });
  forward([](plugin::PluginModule& plugin) { plugin.DoorOpen(); });
}

void LOGGER_CALL DoorClose() {
  if (isCallBack()) return;
  guarded([] { theLogger.values().setFlag(ValueKey::kPilotLamp, true); });
  forward([](plugin::PluginModule& plugin) { plugin.DoorClose(); });
}

void LOGGER_CALL SetSignal(int32_t signal) {
  if (isCallBack()) return;
  guarded([signal] { theLogger.values().setInt(ValueKey::kSignal, signal); });
  forward([signal](plugin::PluginModule& plugin) { plugin.SetSignal(signal); });
}

void LOGGER_CALL SetBeaconData(BeaconData beacon) {
  if (isCallBack()) return;
  guarded([&beacon] {
    logger::ValueTable& values = theLogger.values();
    values.setInt(ValueKey::kBeaconType, beacon.type);
    values.setInt(ValueKey::kBeaconSignal, beacon.signal);
    values.setFloat(ValueKey::kBeaconDistance, beacon.distance);
    values.setInt(ValueKey::kBeaconOptional, beacon.optional);
  });
  forward([&beacon](plugin::PluginModule& plugin) { plugin.SetBeaconData(beacon); });
}

}  // extern "C"
