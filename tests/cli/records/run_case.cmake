# Runs travik-cli once in a fresh folder and checks exit code, stdout, stderr and reports.
#   CLI           the program
#   WORK          a folder of its own, emptied first
#   ARGS          the arguments, separated by "|"
#   EXIT          the expected exit code
#   STDOUT        the expected standard output, lines separated by "|" (empty: none)
#   STDERR        a regular expression the whole standard error must match (empty: none)
#   COMPARE       "written=expected" pairs separated by "|": a report relative to WORK and
#                 an expected file; the report's date line is masked before comparing
#   ABSENT        files relative to WORK that must not exist, separated by "|"
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/out")
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND "${CLI}" ${arguments}
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE exitCode
                OUTPUT_VARIABLE out
                ERROR_VARIABLE err)

set(failed FALSE)
if(NOT exitCode STREQUAL "${EXIT}")
  message(SEND_ERROR "exit code ${exitCode}, expected ${EXIT}\nstderr: ${err}")
endif()

string(REPLACE "|" "\n" expectedOut "${STDOUT}")
if(NOT expectedOut STREQUAL "")
  string(APPEND expectedOut "\n")
endif()
if(NOT out STREQUAL expectedOut)
  message(SEND_ERROR "stdout:\n${out}\nexpected:\n${expectedOut}")
endif()

if(STDERR STREQUAL "")
  if(NOT err STREQUAL "")
    message(SEND_ERROR "unexpected stderr:\n${err}")
  endif()
elseif(NOT err MATCHES "^${STDERR}\n$")
  message(SEND_ERROR "stderr:\n${err}\ndoes not match:\n${STDERR}")
endif()

if(NOT COMPARE STREQUAL "")
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
endif()

if(NOT ABSENT STREQUAL "")
  string(REPLACE "|" ";" absentFiles "${ABSENT}")
  foreach(file IN LISTS absentFiles)
    if(EXISTS "${WORK}/${file}")
      message(SEND_ERROR "${file} should not have been written")
    endif()
  endforeach()
endif()
