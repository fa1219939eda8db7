// A module with the logger's entry points that does nothing: what the host,
// its timer and the system cost each frame, the floor the module is measured
// against.
#include "plugin/entry_point_list.h"

// The parameters are named in the list and used by none of these.
#pragma GCC diagnostic ignored "-Wunused-parameter"

extern "C" {

#define LOGGER_DEFINE_NOTHING(result, name, parameters) \
  LOGGER_EXPORT result LOGGER_CALL name parameters { return result(); }
LOGGER_ENTRY_POINTS(LOGGER_DEFINE_NOTHING)
#undef LOGGER_DEFINE_NOTHING

}  // extern "C"
