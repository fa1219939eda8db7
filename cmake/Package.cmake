# The Windows package, dist/Logger-VERSION-windows.zip. Each Windows build
# installs its own Logger.dll into x64/ or x86/ (component "package"); the
# x64 build adds what both share and the tools, and its CPack configuration
# gathers the builds named in PACKAGE_BUILDS besides its own into one zip.
# scripts/package builds both release presets and runs CPack.
set(PACKAGE_BUILDS "" CACHE STRING "Other build directories whose package component joins this build's zip")

install(TARGETS Logger
  RUNTIME DESTINATION ${WINDOWS_ARCHITECTURE} COMPONENT package
  ARCHIVE DESTINATION lib COMPONENT development EXCLUDE_FROM_ALL)

if(NOT WINDOWS_ARCHITECTURE STREQUAL x64)
  return()
endif()

# The user's part of README.md as plain text with CR LF line ends.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/README.md
          -DOUTPUT=${CMAKE_BINARY_DIR}/README.txt -P ${PROJECT_SOURCE_DIR}/cmake/UserManual.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/UserManual.cmake
  COMMENT "Writing the user's manual README.txt")
# The same part in Japanese, from its source that the English manual links to.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/README.ja.txt
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/docs/README.ja.md
          -DOUTPUT=${CMAKE_BINARY_DIR}/README.ja.txt "-DHEADING=## ロガーの使い方"
          "-DTITLE=Logger: 運転シミュレータ用 列車状態記録プラグイン" -DMARK=ON
          -P ${PROJECT_SOURCE_DIR}/cmake/UserManual.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/README.ja.md ${PROJECT_SOURCE_DIR}/cmake/UserManual.cmake
  COMMENT "Writing the Japanese user's manual README.ja.txt")
add_custom_target(user_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/README.txt
                                          ${CMAKE_BINARY_DIR}/README.ja.txt)

install(FILES ${PROJECT_SOURCE_DIR}/examples/Logger.csv ${PROJECT_SOURCE_DIR}/examples/Logger.ja.csv
              ${PROJECT_SOURCE_DIR}/examples/Logger.ini ${CMAKE_BINARY_DIR}/README.txt
              ${CMAKE_BINARY_DIR}/README.ja.txt
        DESTINATION . COMPONENT package)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT package)

# The tools a user runs without a build machine (logger_tool);
# packaged_tools.txt names them for cmake/CheckPackage.cmake.
get_property(packaged_tools GLOBAL PROPERTY LOGGER_TOOLS)
foreach(tool ${packaged_tools})
  install(TARGETS ${tool} RUNTIME DESTINATION tools COMPONENT package)
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/packaged_tools.txt "${packaged_tools}")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Logger)
set(CPACK_PACKAGE_FILE_NAME Logger-${PROJECT_VERSION}-windows)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS ${CMAKE_BINARY_DIR} Logger package /)
foreach(build IN LISTS PACKAGE_BUILDS)
  list(APPEND CPACK_INSTALL_CMAKE_PROJECTS ${build} Logger package /)
endforeach()
include(CPack)
