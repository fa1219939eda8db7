# Checks the Windows package as a user gets it: unpacks the zip, compares its
# listing, checks each DLL's and tool's version resource, each DLL's
# architecture, exports and imports and that it carries no debug information,
# then lets a host of the DLL's architecture drive it from the unpacked folder
# through the station stop scenario and compares the log with the committed one.
# Run as: cmake -DPACKAGE=zip -DSOURCE=source-dir -DX64_BUILD=dir -DX86_BUILD=dir
#               -DEMULATOR=wine-run -DWORK=scratch-dir -P CheckPackage.cmake
# X64_BUILD and X86_BUILD are the release builds the package came from: the
# first names the tools it packaged, the second gives the 32-bit simhost.exe
# (the package holds the 64-bit one).
get_filename_component(PACKAGE ${PACKAGE} ABSOLUTE)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${PACKAGE}
  WORKING_DIRECTORY ${WORK}/unpacked RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot unpack ${PACKAGE}")
endif()
set(unpacked ${WORK}/unpacked)

# The listing: simhost always, further tools exactly when the build has them.
set(expected LICENSE.txt Logger.csv Logger.ja.csv Logger.ini README.txt README.ja.txt
    tools/simhost.exe x64/Logger.dll x86/Logger.dll)
file(READ ${X64_BUILD}/packaged_tools.txt packaged_tools)
foreach(tool IN LISTS packaged_tools)
  list(APPEND expected tools/${tool}.exe)
endforeach()
list(REMOVE_DUPLICATES expected)
file(GLOB_RECURSE listing RELATIVE ${unpacked} ${unpacked}/*)
list(SORT listing)
list(SORT expected)
if(NOT listing STREQUAL expected)
  message(FATAL_ERROR "the package holds [${listing}], expected [${expected}]")
endif()
message(STATUS "holds ${listing}")

foreach(file Logger.csv Logger.ja.csv Logger.ini)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${unpacked}/${file}
                          ${SOURCE}/examples/${file} RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${file} differs from examples/${file}")
  endif()
endforeach()

# Both manuals: plain text with CR LF line ends, every user section there;
# the Japanese one starts with the UTF-8 mark. (file(READ) drops carriage
# returns: the bytes are counted in hex.)
foreach(manual_file README.txt README.ja.txt)
  file(READ ${unpacked}/${manual_file} bytes HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
  string(REGEX MATCHALL "0a " line_feeds "${bytes}")
  string(REGEX MATCHALL "0d 0a " line_ends "${bytes}")
  string(REGEX MATCHALL "0d " carriage_returns "${bytes}")
  list(LENGTH line_feeds line_feed_count)
  list(LENGTH line_ends line_end_count)
  list(LENGTH carriage_returns carriage_return_count)
  if(line_feed_count LESS 100 OR NOT line_feed_count EQUAL line_end_count
     OR NOT carriage_return_count EQUAL line_end_count)
    message(FATAL_ERROR "${manual_file}: ${line_feed_count} line feeds, ${carriage_return_count} "
                        "carriage returns, ${line_end_count} CR LF pairs")
  endif()
  string(FIND "${bytes}" "ef bb bf " mark_at)
  if(manual_file STREQUAL README.ja.txt AND NOT mark_at EQUAL 0)
    message(FATAL_ERROR "README.ja.txt does not start with the UTF-8 byte-order mark")
  endif()
  file(READ ${unpacked}/${manual_file} manual)
  if(manual_file STREQUAL README.txt)
    set(titles "Installing it" "The column file" "The settings" "The logs"
               "Opening a log in a spreadsheet" "Unblock" "(32 bit)" "BEACON_OPTIONAL: ")
  else()
    set(titles "インストール" "列定義ファイル" "設定" "ログ" "表計算ソフトでログを開く"
               "BEACON_OPTIONAL: ")
  endif()
  foreach(title IN LISTS titles)
    string(FIND "${manual}" "${title}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${manual_file} lacks \"${title}\"")
    endif()
  endforeach()
  foreach(mark "`" "|---" "](" "## " "<!--")
    string(FIND "${manual}" "${mark}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${manual_file} still holds the Markdown mark \"${mark}\"")
    endif()
  endforeach()
endforeach()

# Each DLL's and tool's version resource: the version of project() in
# CMakeLists.txt, the architecture of its folder (the tools are 64-bit).
file(READ ${SOURCE}/CMakeLists.txt project_file)
if(NOT project_file MATCHES "project\\(Logger VERSION ([0-9.]+)")
  message(FATAL_ERROR "no project(Logger VERSION ...) in ${SOURCE}/CMakeLists.txt")
endif()
set(version ${CMAKE_MATCH_1})
foreach(file IN LISTS listing)
  if(NOT file MATCHES "\\.(dll|exe)$")
    continue()
  endif()
  set(architecture x64)
  if(file MATCHES "^x86/")
    set(architecture x86)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -DFILE=${unpacked}/${file}
                          -DREADER=${SOURCE}/scripts/version-resource -DVERSION=${version}
                          -DARCHITECTURE=${architecture} -DLICENSE=${SOURCE}/LICENSE
                          -P ${CMAKE_CURRENT_LIST_DIR}/CheckVersionResource.cmake
                  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(failed)
    message(FATAL_ERROR "${file}: ${output}")
  endif()
  message(STATUS "${file}: version resource of ${version}, ${architecture}")
endforeach()

# The 64-bit objdump reads both PE32 and PE32+, so a DLL of the wrong kind
# fails the architecture check rather than the reading.
set(objdump x86_64-w64-mingw32-objdump)
set(host_x64 ${unpacked}/tools/simhost.exe)
set(host_x86 ${X86_BUILD}/simhost.exe)
foreach(architecture x64 x86)
  set(module ${unpacked}/${architecture}/Logger.dll)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMODULE=${module} -DPLATFORM=windows
                          -DTOOL=${objdump} -DARCHITECTURE=${architecture}
                          -P ${CMAKE_CURRENT_LIST_DIR}/CheckExports.cmake
                  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(failed)
    message(FATAL_ERROR "${architecture}/Logger.dll: ${output}")
  endif()
  execute_process(COMMAND ${objdump} -h ${module} OUTPUT_VARIABLE sections)
  if(sections MATCHES "\\.debug_")
    message(FATAL_ERROR "${architecture}/Logger.dll carries debug information")
  endif()
  file(SIZE ${module} size)
  message(STATUS "${architecture}/Logger.dll: ${size} bytes, exports the 16 entry points, imports system DLLs only")

  # Installed as README.txt says: the two files beside the DLL.
  file(COPY ${unpacked}/Logger.csv ${unpacked}/Logger.ini DESTINATION ${unpacked}/${architecture})
  execute_process(
    COMMAND ${EMULATOR} ${host_${architecture}} --quiet --module ${module}
            --scenario ${SOURCE}/examples/station_stop.scenario
    WORKING_DIRECTORY ${unpacked}/${architecture}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "simhost (${architecture}) exited with ${status}: ${output}")
  endif()
  file(GLOB logs ${unpacked}/${architecture}/Log_*.csv)
  list(LENGTH logs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${architecture}: ${count} logs, expected 1")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${logs}
                          ${SOURCE}/tests/expected/station_stop.csv RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${architecture}: the station stop log ${logs} differs from tests/expected/station_stop.csv")
  endif()
  message(STATUS "${architecture}: a ${architecture} simhost wrote the committed station stop log")
endforeach()
file(REMOVE_RECURSE ${WORK})
message(STATUS "the package is complete")
