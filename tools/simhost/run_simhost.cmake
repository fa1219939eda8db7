# Runs simhost once in a fresh directory with a copy of the module and the
# example column file and settings, and checks its exit status and output.
#   cmake -DSIMHOST=... -DEMULATOR=... -DMODULE=... -DEXAMPLES=... -DRUN_DIRECTORY=...
#         -DEXPECTED_STATUS=... [-DEXPECTED_OUTPUT=regex] [-DARGUMENTS=a;b] -P run_simhost.cmake
file(REMOVE_RECURSE ${RUN_DIRECTORY})
file(MAKE_DIRECTORY ${RUN_DIRECTORY})
file(COPY ${MODULE} ${EXAMPLES}/Logger.csv ${EXAMPLES}/Logger.ini DESTINATION ${RUN_DIRECTORY})
get_filename_component(module_name ${MODULE} NAME)
execute_process(
  COMMAND ${EMULATOR} ${SIMHOST} --module ${RUN_DIRECTORY}/${module_name} ${ARGUMENTS}
  WORKING_DIRECTORY ${RUN_DIRECTORY}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
message("${output}")
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "simhost exited with ${status}, expected ${EXPECTED_STATUS}")
endif()
if(DEFINED EXPECTED_OUTPUT AND NOT output MATCHES "${EXPECTED_OUTPUT}")
  message(FATAL_ERROR "simhost's output does not match: ${EXPECTED_OUTPUT}")
endif()
file(REMOVE_RECURSE ${RUN_DIRECTORY})
