# Runs `travik-cli spectra` once and checks its exit code, a text expected on stderr, the
# report against an expected file (the date line masked) and, for refusals, that nothing
# was written. Arguments (-D): CLI, WORK_DIR, ARGS (separated by |), EXPECTED_EXIT,
# EXPECTED_STDERR (a line ending in <EOL>), EXPECTED_REPORT, REPORT_NAME.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(
  COMMAND "${CLI}" spectra ${arguments} --out "${WORK_DIR}"
  RESULT_VARIABLE exitCode
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

if(NOT exitCode EQUAL EXPECTED_EXIT)
  message(FATAL_ERROR "exit code ${exitCode}, expected ${EXPECTED_EXIT}\nstdout: ${out}\nstderr: ${err}")
endif()
if(DEFINED EXPECTED_STDERR)
  string(REPLACE "<EOL>" "\n" expectedLine "${EXPECTED_STDERR}")
  string(FIND "${err}" "${expectedLine}" position)
  if(position EQUAL -1)
    message(FATAL_ERROR "stderr lacks the line [${EXPECTED_STDERR}]:\n[${err}]")
  endif()
endif()

file(GLOB written "${WORK_DIR}/*")
if(NOTHING_WRITTEN AND written)
  message(FATAL_ERROR "nothing should have been written, but found ${written}")
endif()
if(NOT EXPECTED_EXIT EQUAL 0 AND NOT EXPECTED_EXIT EQUAL 1)
  if(written)
    message(FATAL_ERROR "a refused run wrote ${written}")
  endif()
endif()

if(DEFINED REPORT_NAME)
  set(report "${WORK_DIR}/${REPORT_NAME}")
  if(NOT EXISTS "${report}")
    message(FATAL_ERROR "no report ${report}; stdout: ${out}")
  endif()
  string(FIND "${out}" "${REPORT_NAME}\n" position)
  if(position EQUAL -1)
    message(FATAL_ERROR "stdout does not name the report: ${out}")
  endif()
  if(DEFINED EXPECTED_REPORT)
    file(READ "${report}" actual)
    string(REGEX REPLACE "Report Time: [0-9]+" "Report Time: <date>" actual "${actual}")
    file(READ "${EXPECTED_REPORT}" expected)
    if(NOT actual STREQUAL expected)
      message(FATAL_ERROR "report differs from ${EXPECTED_REPORT}:\n${actual}")
    endif()
  endif()
endif()
