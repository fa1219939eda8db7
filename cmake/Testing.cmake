# GoogleTest: the system's copy on Linux, built from its sources for the
# Windows cross build; the Windows tests run under Wine through the emulator.
if(WIN32)
  set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -Wno-error)
  target_compile_options(gtest_main PRIVATE -Wno-error)
  set(GTEST_LIBRARY gtest)
  set(GTEST_MAIN_LIBRARY gtest_main)
else()
  find_package(GTest REQUIRED)
  set(GTEST_LIBRARY GTest::gtest)
  set(GTEST_MAIN_LIBRARY GTest::gtest_main)
endif()

# logger_test(NAME [OWN_MAIN] SOURCES... LIBRARIES... [ARGS args...]): a GoogleTest program run by
# CTest from the build directory, where the built module lies.
function(logger_test name)
  cmake_parse_arguments(TEST "OWN_MAIN" "" "SOURCES;LIBRARIES;ARGS" ${ARGN})
  add_executable(${name} ${TEST_SOURCES})
  target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES})
  if(TEST_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${GTEST_LIBRARY})
  else()
    target_link_libraries(${name} PRIVATE ${GTEST_LIBRARY} ${GTEST_MAIN_LIBRARY})
  endif()
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME_OPTIONS})
  add_test(NAME ${name} COMMAND ${name} ${TEST_ARGS} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

logger_test(logger_unit_test
  SOURCES
    logger/columns_test.cc
    logger/decimal_mark_test.cc
    logger/format_value_test.cc
    logger/frame_counter_test.cc
    logger/log_buffer_test.cc
    logger/log_file_test.cc
    logger/run_files_test.cc
    logger/running_log_test.cc
    logger/six_digits_test.cc
    logger/unicode_text_test.cc
    logger/value_table_test.cc
    platform/ini_text_test.cc
    platform/platform_test.cc
    platform/view_worker_test.cc
    settings/chain_settings_test.cc
    settings/logger_settings_test.cc
    tests/temporary_directory.cc
  LIBRARIES logger_core plugin_host)
target_include_directories(logger_unit_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
if(NOT WIN32)
  # Failures and meetings forced by hooking the system calls of the test program.
  target_sources(logger_unit_test PRIVATE
    logger/log_file_posix_test.cc
    logger/running_log_posix_test.cc
    platform/view_worker_posix_test.cc
    tests/child_process.cc
    tests/interposed_calls_posix.cc)
else()
  target_sources(logger_unit_test PRIVATE platform/long_path_win32_test.cc)
endif()

# SpeedGuard, the train plug-in the chain's tests (and the README's example)
# chain; it is not packaged. A second build lacks SetBeaconData. On 32-bit
# Windows its __stdcall entry points are exported by their plain names.
function(speed_guard_plugin name)
  add_library(${name} SHARED tests/speed_guard/speed_guard.cc)
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  if(WIN32)
    target_link_options(${name} PRIVATE ${STATIC_RUNTIME_OPTIONS} -Wl,--kill-at)
  endif()
endfunction()
speed_guard_plugin(SpeedGuard)
speed_guard_plugin(SpeedGuardWithoutBeacon)
target_compile_definitions(SpeedGuardWithoutBeacon PRIVATE SPEED_GUARD_WITHOUT_BEACON)

logger_test(module_test OWN_MAIN
  SOURCES
    plugin/chain_test.cc
    plugin/column_file_encoding_test.cc
    plugin/host_misuse_test.cc
    plugin/hostile_files_test.cc
    plugin/log_on_disk_test.cc
    plugin/module_test.cc
    plugin/module_run_test.cc
    tests/chain_fixture.cc
    tests/log_shape.cc
    tests/module_fixture.cc
    tests/random_host_input.cc
    tests/temporary_directory.cc
  LIBRARIES plugin_host
  ARGS $<TARGET_FILE_NAME:Logger> ${CMAKE_CURRENT_SOURCE_DIR}/tests/expected)
target_include_directories(module_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(module_test Logger SpeedGuard SpeedGuardWithoutBeacon)
if(WIN32)
  # Hosts that end mid-run, or whose chained plug-in ends them: the test
  # program started again as the host.
  target_sources(module_test PRIVATE
    plugin/chain_crash_win32_test.cc
    plugin/crash_recovery_win32_test.cc
    tests/test_host_win32.cc)
else()
  # Tests that fork a child process to set resource limits in it.
  target_sources(module_test PRIVATE
    plugin/chain_crash_posix_test.cc
    plugin/crash_recovery_posix_test.cc
    plugin/resource_limits_posix_test.cc
    plugin/pipe_and_device_files_posix_test.cc
    tests/child_process.cc)
endif()

if(WINDOWS_ARCHITECTURE STREQUAL "x86")
  # The entry points called from assembly as the platform's own compiler calls them.
  enable_language(ASM)
  target_sources(module_test PRIVATE plugin/host_caller_x86.S plugin/host_caller_x86_test.cc)
endif()

if(WIN32)
  # The cross toolchain's own objdump, found by CMake beside its compiler.
  set(EXPORT_DUMP_TOOL ${CMAKE_OBJDUMP})
  set(EXPORT_PLATFORM windows)
else()
  find_program(EXPORT_DUMP_TOOL NAMES nm REQUIRED)
  set(EXPORT_PLATFORM linux)
endif()
add_test(NAME module_exports
  COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:Logger> -DPLATFORM=${EXPORT_PLATFORM}
          -DTOOL=${EXPORT_DUMP_TOOL} -DARCHITECTURE=${WINDOWS_ARCHITECTURE} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckExports.cmake)
if(WIN32)
  version_resource_test(Logger)
endif()

# The Japanese manual keeps the English one's headings and key table rows.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND NOT WIN32)
  add_test(NAME japanese_manual_follows_the_english_one
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tests/manual/check_translation.py
            ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/docs/README.ja.md)
endif()

# The comma-decimal log opened as a German user's double-click opens it, in
# LibreOffice; where LibreOffice is missing the test is left out, loudly, and
# in CI that fails the configuration.
if(NOT WIN32)
  find_program(SOFFICE_PROGRAM soffice)
  find_package(Python3 COMPONENTS Interpreter)
  if(SOFFICE_PROGRAM AND Python3_Interpreter_FOUND)
    add_test(NAME spreadsheet_reads_comma_decimal_logs
      COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tests/spreadsheet/read_as_german_user.py
              ${SOFFICE_PROGRAM} ${CMAKE_CURRENT_SOURCE_DIR}/tests/expected/whole_run.csv
              ${CMAKE_CURRENT_SOURCE_DIR}/tests/expected/whole_run_decimal_comma.csv
              ${CMAKE_BINARY_DIR}/spreadsheet)
    # Japanese titles, from the module through simhost, as a Japanese user's spreadsheet reads them.
    add_test(NAME spreadsheet_reads_japanese_titles
      COMMAND Python3::Interpreter
              ${CMAKE_CURRENT_SOURCE_DIR}/tests/spreadsheet/read_titles_as_japanese_user.py
              ${SOFFICE_PROGRAM} $<TARGET_FILE:simhost> $<TARGET_FILE:Logger>
              ${CMAKE_CURRENT_SOURCE_DIR}/examples/Logger.ja.csv
              ${CMAKE_CURRENT_SOURCE_DIR}/examples/station_stop.scenario
              ${CMAKE_BINARY_DIR}/spreadsheet_japanese)
  elseif("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "the spreadsheet test needs soffice (libreoffice-calc-nogui) and python3")
  else()
    message(WARNING "soffice or python3 missing: the spreadsheet test is left out")
  endif()
endif()
