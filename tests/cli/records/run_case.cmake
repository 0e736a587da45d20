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
include("${CMAKE_CURRENT_LIST_DIR}/../CliChecks.cmake")

travik_run_cli()
string(REPLACE "|" "\n" expectedOut "${STDOUT}")
if(NOT expectedOut STREQUAL "")
  string(APPEND expectedOut "\n")
endif()
if(NOT out STREQUAL expectedOut)
  message(SEND_ERROR "stdout:\n${out}\nexpected:\n${expectedOut}")
endif()
travik_check_stream(stderr "${err}" "${STDERR}")
travik_compare_reports()
travik_check_absent()
