# One --workspace case of travik-cli, run with cmake -P:
#   CLI      the program
#   WORK     a folder of its own, emptied first
#   INPUT    the folder of the small test records
#   SAMPLES  the repository's data/ folder (sample records and sample.travik)
#   CASE     which case
# A workspace's reports must be byte for byte those of the same records given one by one
# with the equivalent options; a workspace with a missing, changed or refused file gives
# the messages and exit codes below.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../CliChecks.cmake")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/records" "${WORK}/a" "${WORK}/b")
file(COPY "${INPUT}/five.txt" "${INPUT}/lab.run2.dat" DESTINATION "${WORK}/records")
file(COPY "${SAMPLES}/elcentro-1940-chopra-ns.txt" DESTINATION "${WORK}/records")
file(SIZE "${WORK}/records/five.txt" fiveSize)

# Three files read three ways, with three corrections; the analysis and damping differ from
# the defaults so that taking the defaults instead would show.
set(suite [=[{
  "format": "travik-workspace",
  "version": 1,
  "files": [
    {"path": "records/five.txt", "size": @fiveSize@,
     "reading": {"format": "free", "timeStep": 0.01},
     "records": [{"checked": true, "baseline": "linear", "filter": null}]},
    {"path": "records/lab.run2.dat",
     "reading": {"format": "free", "timeStep": 0.02, "scalingFactor": 2, "linesToSkip": 3,
                 "delimiter": "space", "accelerationColumn": 3},
     "records": [{"checked": false, "baseline": "parabolic"}]},
    {"path": "@WORK@/records/elcentro-1940-chopra-ns.txt",
     "reading": {"format": "free", "timeStep": 0.02},
     "records": [{"baseline": "none",
                  "filter": {"band": "highpass", "lowCorner": 0.2, "order": 2, "acausal": true}}]}
  ],
  "analysis": {"g": 981, "minPeriod": 0.05, "maxPeriod": 1.5, "periodStep": 0.05,
               "method": "newmark", "maxDtOverT": 0.05, "beta": 0.25, "gamma": 0.5},
  "damping": [5, 2]
}
]=])

function(run expectedExit)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE code
                  OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT code STREQUAL "${expectedExit}")
    message(SEND_ERROR "${ARGN}: exit code ${code}, expected ${expectedExit}\n${stderr}")
  endif()
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

function(same_reports names)
  foreach(name IN LISTS names)
    file(READ "${WORK}/a/${name}" written)
    file(READ "${WORK}/b/${name}" expected)
    if(NOT written STREQUAL expected)
      message(SEND_ERROR "${name} from the workspace differs from the one-by-one report")
    endif()
  endforeach()
endfunction()

set(analysis --g 981 --min-period 0.05 --max-period 1.5 --period-step 0.05 --method newmark
             --max-dt-ratio 0.05 --damping 5,2)
set(spectra five_RS.csv lab.run2_RS.csv elcentro-1940-chopra-ns_RS.csv)
set(records five_TH.csv lab.run2_TH.csv elcentro-1940-chopra-ns_TH.csv)

if(CASE STREQUAL "SameAsOneByOne")
  string(CONFIGURE "${suite}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  foreach(command spectra records)
    # The workspace's g integrates the records too.
    set(extra --g 981)
    if(command STREQUAL "spectra")
      set(extra ${analysis})
    endif()
    run(0 ${command} --workspace suite.travik --out a)
    run(0 ${command} ${extra} --dt 0.01 --baseline linear --out b records/five.txt)
    run(0 ${command} ${extra} --dt 0.02 --scale 2 --skip 3 --delimiter space --column 3
        --baseline parabolic --out b records/lab.run2.dat)
    run(0 ${command} ${extra} --dt 0.02 --filter highpass --corners 0.2 --order 2 --acausal
        --out b records/elcentro-1940-chopra-ns.txt)
  endforeach()
  same_reports("${spectra};${records}")
elseif(CASE STREQUAL "MissingFileIsNamedAndTheRestWritten")
  string(REPLACE "records/lab.run2.dat" "records/gone.dat" text "${suite}")
  string(CONFIGURE "${text}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(1 spectra --workspace suite.travik --out a)
  travik_check_stream(stderr "${err}"
    "The record file [^\n]*/records/gone\\.dat of the workspace suite\\.travik is missing")
  travik_check_stream(stdout "${out}" "a/five_RS\\.csv\na/elcentro-1940-chopra-ns_RS\\.csv")
elseif(CASE STREQUAL "InfoListsTheWorkspacesRecords")
  string(CONFIGURE "${suite}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(0 info --workspace suite.travik)
  # Each file read as the workspace says (lab.run2.dat with its own time step), then how
  # each of its records is prepared.
  foreach(pattern
      "five\\.txt\n  file: [^\n]*\n  format: +Free Type\n[^\n]*\n[^\n]*\n  time step: +0\\.01 s\n"
      "\n  record 1 in the workspace: baseline linear, filter none\nlab\\.run2\\.dat\n"
      "lab\\.run2\\.dat\n[^\n]*\n[^\n]*\n[^\n]*\n[^\n]*\n  time step: +0\\.02 s\n"
      "\n  record 1 in the workspace: baseline parabolic, filter none\n"
      "\n  record 1 in the workspace: baseline none, filter Butterworth high-pass 0\\.2 Hz, order 2, acausal\n$")
    if(NOT out MATCHES "${pattern}")
      message(SEND_ERROR "info --workspace:\n${out}\ndoes not hold:\n${pattern}")
    endif()
  endforeach()
  travik_check_stream(stderr "${err}" "")
  string(REPLACE "records/lab.run2.dat" "records/gone.dat" text "${text}")
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(1 info --workspace suite.travik)
  travik_check_stream(stderr "${err}"
    "The record file [^\n]*/records/gone\\.dat of the workspace suite\\.travik is missing")
  if(NOT out MATCHES "^five\\.txt\n.*\nelcentro-1940-chopra-ns\\.txt\n" OR out MATCHES "lab")
    message(SEND_ERROR "info --workspace with a missing file:\n${out}")
  endif()
elseif(CASE STREQUAL "ChangedSizeIsAWarning")
  math(EXPR fiveSize "${fiveSize} + 1")
  string(CONFIGURE "${suite}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(0 records --workspace suite.travik --out a)
  math(EXPR fiveSize "${fiveSize} - 1")
  travik_check_stream(stderr "${err}"
    "WARNING: The record file [^\n]*/records/five\\.txt has ${fiveSize} bytes, not the [0-9]+ it had when the workspace was saved: it may have changed")
elseif(CASE STREQUAL "LaterVersionOpensWithAWarning")
  string(REPLACE "\"version\": 1," "\"version\": 2, \"pairs\": []," text "${suite}")
  string(CONFIGURE "${text}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(0 records --workspace suite.travik --out a)
  travik_check_stream(stderr "${err}"
    "The workspace suite\\.travik was written by a later version of TRAVIK \\(workspace version 2\\); what this version does not know is ignored: pairs")
elseif(CASE STREQUAL "NotJsonIsRefused")
  file(WRITE "${WORK}/bad.travik" "{\"format\": \"travik-workspace\", \"version\": 1,")
  run(2 spectra --workspace bad.travik --out a)
  travik_check_stream(stderr "${err}"
    "Cannot open the workspace bad\\.travik: it is not valid JSON\nRun with --help for more information\\.")
elseif(CASE STREQUAL "NoMarkerIsRefused")
  file(WRITE "${WORK}/other.travik" "{\"version\": 1, \"files\": []}")
  run(2 records --workspace other.travik --out a)
  travik_check_stream(stderr "${err}"
    "Cannot open the workspace other\\.travik: it lacks \"format\": \"travik-workspace\"\nRun with --help for more information\\.")
elseif(CASE STREQUAL "FilesAndWorkspaceTogetherAreRefused")
  string(CONFIGURE "${suite}" text @ONLY)
  file(WRITE "${WORK}/suite.travik" "${text}")
  run(2 records --workspace suite.travik --out a records/five.txt)
elseif(CASE STREQUAL "TheSampleWorkspaceOpens")
  run(0 records --workspace "${SAMPLES}/sample.travik" --out a)
  travik_check_stream(stdout "${out}" "a/elcentro-1940-chopra-ns_TH\\.csv\na/elcentro-1940-rsn6-180_TH\\.csv\na/elcentro-1940-rsn6-270_TH\\.csv\na/boore-whittier-cat-090_TH\\.csv")
  travik_check_stream(stderr "${err}" "")
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
