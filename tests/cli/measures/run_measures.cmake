# Runs travik-cli once in a fresh folder and checks exit code, output and reports.
#   CLI, WORK, ARGS ("|"-separated), EXIT   as in ../records/run_case.cmake
#   STDOUT     a regular expression the whole standard output must match (empty: none)
#   STDERR     a regular expression the whole standard error must match (empty: none)
#   COMPARE    "written=expected" pairs separated by "|", compared byte for byte with the
#              report's date line masked
#   COMPARE_NEAR  as COMPARE, numbers within one unit of their last decimal
#   CONTAINS   "report::regex" entries separated by "|": some line of the report (CR LF
#              removed) must match the regular expression as a whole
#   LINES      "report=count" pairs separated by "|": the report's number of lines
#   ABSENT     files relative to WORK that must not exist, separated by "|"
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../CliChecks.cmake")

travik_run_cli()
travik_check_stream(stdout "${out}" "${STDOUT}")
travik_check_stream(stderr "${err}" "${STDERR}")
travik_compare_reports()
travik_compare_reports_near()

if(NOT CONTAINS STREQUAL "")
  string(REPLACE "|" ";" entries "${CONTAINS}")
  foreach(entry IN LISTS entries)
    string(FIND "${entry}" "::" split)
    string(SUBSTRING "${entry}" 0 ${split} report)
    math(EXPR start "${split} + 2")
    string(SUBSTRING "${entry}" ${start} -1 pattern)
    if(NOT EXISTS "${WORK}/${report}")
      message(SEND_ERROR "report ${report} was not written")
      continue()
    endif()
    file(STRINGS "${WORK}/${report}" reportLines)
    set(found FALSE)
    foreach(line IN LISTS reportLines)
      string(REGEX REPLACE "\r$" "" line "${line}")
      if(line MATCHES "^${pattern}$")
        set(found TRUE)
        break()
      endif()
    endforeach()
    if(NOT found)
      message(SEND_ERROR "no line of ${report} matches: ${pattern}")
    endif()
  endforeach()
endif()

if(NOT LINES STREQUAL "")
  string(REPLACE "|" ";" pairs "${LINES}")
  foreach(pair IN LISTS pairs)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 report)
    list(GET pair 1 count)
    file(READ "${WORK}/${report}" content)
    string(REGEX MATCHALL "\n" breaks "${content}")
    list(LENGTH breaks actual)
    if(NOT actual EQUAL count)
      message(SEND_ERROR "${report} has ${actual} lines, expected ${count}")
    endif()
  endforeach()
endif()

travik_check_absent()
