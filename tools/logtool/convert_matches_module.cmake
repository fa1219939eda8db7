# The module's two log formats and logtool's conversion agree byte for byte:
# simhost drives the module through the built-in trip once with each
# setting, and logtool turns each log into the other format.
#   cmake -DMODULE=... -DSIMHOST=... -DLOGTOOL=... -DCOLUMNS=... -DWORK=... -P convert_matches_module.cmake
file(REMOVE_RECURSE ${WORK})
foreach(setting 0 1)
  set(folder ${WORK}/decimal_comma_${setting})
  file(MAKE_DIRECTORY ${folder})
  get_filename_component(module_name ${MODULE} NAME)
  file(COPY ${MODULE} ${COLUMNS} DESTINATION ${folder})
  file(WRITE ${folder}/Logger.ini "[Frame]\nSkip=60\n[Log]\nDecimalComma=${setting}\n")
  execute_process(COMMAND ${SIMHOST} --quiet --module ${module_name} WORKING_DIRECTORY ${folder}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${folder}: simhost exited with ${status}")
  endif()
  file(GLOB logs ${folder}/Log_*.csv)
  list(LENGTH logs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${folder}: ${count} logs instead of one")
  endif()
  set(log_${setting} ${logs})
endforeach()

# convert LOG FLAG EXPECTED: logtool's conversion of LOG must be EXPECTED's bytes.
function(convert log flag suffix expected)
  execute_process(COMMAND ${LOGTOOL} convert ${log} ${flag} RESULT_VARIABLE status)
  string(REGEX REPLACE "\\.csv$" ".${suffix}.csv" converted ${log})
  if(NOT status EQUAL 0 OR NOT EXISTS ${converted})
    message(FATAL_ERROR "${log}: logtool convert ${flag} exited with ${status}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${converted} ${expected}
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${converted} differs from the module's own ${expected}")
  endif()
endfunction()
convert(${log_1} --decimal-point decimal-point ${log_0})
convert(${log_0} --decimal-comma decimal-comma ${log_1})
message(STATUS "logtool converts the module's logs into each other byte for byte")
