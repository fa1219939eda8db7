# Checks the version resource of a Windows DLL or program, read without
# Windows by scripts/version-resource: file and product version, as text and
# as the four numbers, are VERSION; the file is of ARCHITECTURE (x64 or x86)
# and its description ends with "(ARCHITECTURE)"; the copyright is the one of
# LICENSE; the original file name is the file's own.
# Run as: cmake -DFILE=file -DREADER=scripts/version-resource -DVERSION=1.2.3
#               -DARCHITECTURE=x64 -DLICENSE=LICENSE -P CheckVersionResource.cmake
get_filename_component(name ${FILE} NAME)
execute_process(COMMAND ${READER} ${FILE}
  RESULT_VARIABLE failed OUTPUT_VARIABLE resource ERROR_VARIABLE error)
if(failed)
  message(FATAL_ERROR "${name}: cannot read its version resource: ${error}")
endif()

# field(NAME OUT): the value the reader printed for NAME, or "(none)".
function(field key out)
  if("\n${resource}" MATCHES "\n${key}: ([^\n]*)")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "(none)" PARENT_SCOPE)
  endif()
endfunction()

# expect(NAME VALUE): fails unless the reader printed VALUE for NAME.
function(expect key value)
  field("${key}" actual)
  if(NOT actual STREQUAL value)
    message(FATAL_ERROR "${name}: ${key} is \"${actual}\", expected \"${value}\"")
  endif()
endfunction()

# The four numbers: the project's version padded with zeros.
string(REPLACE "." ";" numbers ${VERSION})
list(LENGTH numbers count)
while(count LESS 4)
  list(APPEND numbers 0)
  math(EXPR count "${count} + 1")
endwhile()
string(REPLACE ";" "." numbers "${numbers}")

if(name MATCHES "\\.[dD][lL][lL]$")
  set(type dll)
else()
  set(type application)
endif()
file(STRINGS ${LICENSE} copyright REGEX "^Copyright " LIMIT_COUNT 1)

expect(machine ${ARCHITECTURE})
expect("file type" ${type})
expect("fixed file version" ${numbers})
expect("fixed product version" ${numbers})
expect(FileVersion ${VERSION})
expect(ProductVersion ${VERSION})
expect(ProductName Logger)
expect(OriginalFilename ${name})
expect(LegalCopyright "${copyright}")
field(FileDescription description)
if(NOT description MATCHES " \\(${ARCHITECTURE}\\)$")
  message(FATAL_ERROR "${name}: the description \"${description}\" does not end with \"(${ARCHITECTURE})\"")
endif()
message(STATUS "${name}: version ${VERSION} (${numbers}), \"${description}\", \"${copyright}\"")
