// The module's exported entry points, by their plain names.
#ifndef LOGGER_PLUGIN_ENTRY_POINTS_H_
#define LOGGER_PLUGIN_ENTRY_POINTS_H_

#include "plugin/entry_point_list.h"

#define LOGGER_DECLARE_ENTRY_POINT(result, name, parameters) \
  LOGGER_EXPORT result LOGGER_CALL name parameters;

extern "C" {
LOGGER_ENTRY_POINTS(LOGGER_DECLARE_ENTRY_POINT)
}

#undef LOGGER_DECLARE_ENTRY_POINT

#endif  // LOGGER_PLUGIN_ENTRY_POINTS_H_
