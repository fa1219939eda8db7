# version_resource(TARGET DESCRIPTION): gives the Windows DLL or program
# TARGET a version resource (cmake/version_resource.rc.in, compiled by the
# toolchain's windres), which Windows shows in the file's properties: file and
# product version from project() in CMakeLists.txt, DESCRIPTION followed by
# the architecture, "(x64)" or "(x86)", and the copyright line of LICENSE
# (LOGGER_COPYRIGHT). cmake/CheckVersionResource.cmake checks it.
function(version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL SHARED_LIBRARY)
    set(VERSION_FILE_TYPE VFT_DLL)
    set(VERSION_FILE_NAME ${target}${CMAKE_SHARED_LIBRARY_SUFFIX})
  else()
    set(VERSION_FILE_TYPE VFT_APP)
    set(VERSION_FILE_NAME ${target}${CMAKE_EXECUTABLE_SUFFIX})
  endif()
  set(VERSION_INTERNAL_NAME ${target})
  set(VERSION_DESCRIPTION "${description} (${WINDOWS_ARCHITECTURE})")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_resource.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()

# version_resource_test(TARGET): a test that reads TARGET's version resource
# back from the built file and checks it (cmake/CheckVersionResource.cmake).
function(version_resource_test target)
  add_test(NAME ${target}_version_resource
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}>
            -DREADER=${PROJECT_SOURCE_DIR}/scripts/version-resource -DVERSION=${PROJECT_VERSION}
            -DARCHITECTURE=${WINDOWS_ARCHITECTURE} -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckVersionResource.cmake)
endfunction()
