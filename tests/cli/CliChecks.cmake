# Checks shared by the command-line test scripts (run with cmake -P). Each reports every
# mismatch with SEND_ERROR, so one run lists them all.

# Runs ${CLI} with the "|"-separated ARGS in a fresh ${WORK} (with an empty out/ folder);
# sets exitCode, out and err in the caller.
function(travik_run_cli)
  file(REMOVE_RECURSE "${WORK}")
  file(MAKE_DIRECTORY "${WORK}/out")
  string(REPLACE "|" ";" arguments "${ARGS}")
  execute_process(COMMAND "${CLI}" ${arguments}
                  WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE code
                  OUTPUT_VARIABLE stdout
                  ERROR_VARIABLE stderr)
  set(exitCode "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
  if(NOT code STREQUAL "${EXIT}")
    message(SEND_ERROR "exit code ${code}, expected ${EXIT}\nstderr: ${stderr}")
  endif()
endfunction()

# The whole of `text` (the stream `what`) must match the regular expression `pattern` and
# end with one line feed; an empty pattern means the stream must be empty.
function(travik_check_stream what text pattern)
  if(pattern STREQUAL "")
    if(NOT text STREQUAL "")
      message(SEND_ERROR "unexpected ${what}:\n${text}")
    endif()
  elseif(NOT text MATCHES "^${pattern}\n$")
    message(SEND_ERROR "${what}:\n${text}\ndoes not match:\n${pattern}")
  endif()
endfunction()

# COMPARE: "written=expected" pairs separated by "|", a report relative to ${WORK} and an
# expected file, compared byte for byte once the report's date line is masked.
function(travik_compare_reports)
  if(COMPARE STREQUAL "")
    return()
  endif()
  string(REPLACE "|" ";" pairs "${COMPARE}")
  foreach(pair IN LISTS pairs)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 written)
    list(GET pair 1 expected)
    if(NOT EXISTS "${WORK}/${written}")
      message(SEND_ERROR "report ${written} was not written")
      continue()
    endif()
    # Compared as hex: file(READ) as text would drop the CRs that are part of the format.
    file(READ "${WORK}/${written}" actualHex HEX)
    file(READ "${expected}" expectedHex HEX)
    # The report carries the day it was made: check its form ("Report Time: " and eight
    # digits, CR LF), then mask it as "Report Time: <date>".
    string(REGEX REPLACE "5265706f72742054696d653a20(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])0d0a"
                         "5265706f72742054696d653a203c646174653e0d0a" actualHex "${actualHex}")
    if(NOT actualHex STREQUAL expectedHex)
      file(READ "${WORK}/${written}" actualText)
      message(SEND_ERROR "${written} differs from ${expected}:\n${actualText}")
    endif()
  endforeach()
endfunction()

# ABSENT: files relative to ${WORK} that must not exist, separated by "|".
function(travik_check_absent)
  if(ABSENT STREQUAL "")
    return()
  endif()
  string(REPLACE "|" ";" absentFiles "${ABSENT}")
  foreach(file IN LISTS absentFiles)
    if(EXISTS "${WORK}/${file}")
      message(SEND_ERROR "${file} should not have been written")
    endif()
  endforeach()
endfunction()
