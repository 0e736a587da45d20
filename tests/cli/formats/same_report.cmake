# Runs travik-cli twice in a fresh folder, once on a record file of a named format and once
# on the one-column conversion of the same record, and checks that both reports hold the
# same numbers: the lines that name the source file and the date are masked.
#   CLI, WORK         the program and a folder of its own
#   ARGS_A, ARGS_B    the two argument lists, separated by "|"
#   REPORT_A, REPORT_B  the reports they write, relative to WORK
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/out")
foreach(run A B)
  string(REPLACE "|" ";" arguments "${ARGS_${run}}")
  execute_process(COMMAND "${CLI}" ${arguments}
                  WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE exitCode
                  OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT exitCode STREQUAL "0")
    message(FATAL_ERROR "run ${run} exited with ${exitCode}\nstderr: ${err}")
  endif()
  file(STRINGS "${WORK}/${REPORT_${run}}" lines_${run})
  list(FILTER lines_${run} EXCLUDE REGEX "Report Time:|\\.(txt|AT2|smc|V2)")
endforeach()
list(LENGTH lines_A count)
if(count LESS 100)
  message(FATAL_ERROR "the report holds only ${count} lines")
endif()
if(NOT lines_A STREQUAL lines_B)
  message(FATAL_ERROR "the reports differ")
endif()
