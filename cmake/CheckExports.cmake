# Checks that the built module exports exactly the host's 16 entry points by
# their plain names and, on Windows, that it is a DLL of the architecture
# given and imports nothing but system DLLs.
# Run as: cmake -DMODULE=path -DPLATFORM=windows|linux -DTOOL=objdump-or-nm
#               [-DARCHITECTURE=x64|x86] -P CheckExports.cmake
set(expected DoorClose DoorOpen Dispose Elapse GetPluginVersion HornBlow Initialize KeyDown KeyUp
    Load SetBeaconData SetBrake SetPower SetReverser SetSignal SetVehicleSpec)

if(PLATFORM STREQUAL "windows")
  execute_process(COMMAND ${TOOL} -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${TOOL} -p ${MODULE} failed")
  endif()
  # The optional header's magic: 010b for 32-bit (PE32), 020b for 64-bit (PE32+).
  string(REGEX MATCH "Magic[ \t]+0([12])0b" magic "${dump}")
  set(expected_magic_x86 1)
  set(expected_magic_x64 2)
  if(DEFINED ARCHITECTURE AND NOT CMAKE_MATCH_1 STREQUAL "${expected_magic_${ARCHITECTURE}}")
    message(FATAL_ERROR "${MODULE} is not an ${ARCHITECTURE} DLL (optional header: '${magic}')")
  endif()
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[ 0-9]+\\][^\n]*\n)*)" table "${dump}")
  # Each table line reads "\t[   0] Name"; keep the names, one a line.
  string(REGEX REPLACE "[ \t]*\\[[ 0-9]+\\][ \t]+([A-Za-z_@0-9]+)[^\n]*\n" "\\1;" exported "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "DLL Name: " "" dll "${import}")
    string(TOUPPER "${dll}" dll)
    if(NOT dll MATCHES "^(KERNEL32|MSVCRT|UCRTBASE|SHLWAPI|API-MS-WIN-CRT-[A-Z0-9-]+)\\.DLL$")
      message(FATAL_ERROR "the module imports ${dll}, which is not a system DLL")
    endif()
    message(STATUS "imports ${dll}")
  endforeach()
else()
  execute_process(COMMAND ${TOOL} -D --defined-only ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${TOOL} -D ${MODULE} failed")
  endif()
  string(REGEX MATCHALL "[0-9a-f]+ [TtWwDdBbRrVv] [^\n]+" lines "${dump}")
  set(exported)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" name "${line}")
    list(APPEND exported ${name})
  endforeach()
endif()

list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "the module exports [${exported}], expected [${expected}]")
endif()
message(STATUS "exports exactly the 16 entry points")
