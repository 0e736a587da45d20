# Runs `travik-cli spectra` on the same files with --jobs 1 and with --jobs 3 and checks
# that both write the same reports, byte for byte, name them in the same order on stdout,
# give the same stderr and exit code; and that a file that cannot be read stops both runs
# after the reports of the files before it. Arguments (-D): CLI, WORK_DIR, FILES (separated
# by |), EXPECTED_EXIT, EXPECTED_REPORTS (how many reports each run writes), optionally
# ARGS (options, separated by |; default --dt 0.01 --damping 2,5,20) and EXPECTED_STDERR
# (a text both runs print on stderr, ending in <EOL>) and BLOCKED_REPORT (a report name
# taken by a folder, so that putting that report in place fails; the folder counts as one
# of the EXPECTED_REPORTS).
file(REMOVE_RECURSE "${WORK_DIR}")
string(REPLACE "|" ";" files "${FILES}")
if(DEFINED ARGS)
  string(REPLACE "|" ";" arguments "${ARGS}")
else()
  set(arguments --dt 0.01 --damping 2,5,20)
endif()
foreach(jobs 1 3)
  file(MAKE_DIRECTORY "${WORK_DIR}/jobs${jobs}")
  if(DEFINED BLOCKED_REPORT)
    file(MAKE_DIRECTORY "${WORK_DIR}/jobs${jobs}/${BLOCKED_REPORT}")
  endif()
  execute_process(
    COMMAND "${CLI}" spectra ${arguments} --jobs ${jobs} --out "${WORK_DIR}/jobs${jobs}" ${files}
    RESULT_VARIABLE exit${jobs}
    OUTPUT_VARIABLE out${jobs}
    ERROR_VARIABLE err${jobs})
  if(NOT exit${jobs} EQUAL EXPECTED_EXIT)
    message(FATAL_ERROR "--jobs ${jobs}: exit code ${exit${jobs}}, expected ${EXPECTED_EXIT}\n"
                        "stdout: ${out${jobs}}\nstderr: ${err${jobs}}")
  endif()
  # Everything in the folder counts, hidden files too: no temporary copy may be left.
  file(GLOB reports${jobs} LIST_DIRECTORIES true RELATIVE "${WORK_DIR}/jobs${jobs}"
       "${WORK_DIR}/jobs${jobs}/*" "${WORK_DIR}/jobs${jobs}/.*")
  list(LENGTH reports${jobs} count)
  if(NOT count EQUAL EXPECTED_REPORTS)
    message(FATAL_ERROR "--jobs ${jobs} wrote ${count} reports, expected ${EXPECTED_REPORTS}: "
                        "${reports${jobs}}")
  endif()
  if(DEFINED EXPECTED_STDERR)
    string(REPLACE "<EOL>" "\n" expected "${EXPECTED_STDERR}")
    string(FIND "${err${jobs}}" "${expected}" position)
    if(position EQUAL -1)
      message(FATAL_ERROR "--jobs ${jobs}: stderr lacks [${EXPECTED_STDERR}]:\n[${err${jobs}}]")
    endif()
  endif()
  string(REPLACE "${WORK_DIR}/jobs${jobs}" "<out>" out${jobs} "${out${jobs}}")
  string(REPLACE "${WORK_DIR}/jobs${jobs}" "<out>" err${jobs} "${err${jobs}}")
endforeach()

if(NOT out1 STREQUAL out3)
  message(FATAL_ERROR "stdout differs:\n${out1}\n---\n${out3}")
endif()
if(NOT err1 STREQUAL err3)
  message(FATAL_ERROR "stderr differs:\n${err1}\n---\n${err3}")
endif()
if(NOT reports1 STREQUAL reports3)
  message(FATAL_ERROR "the reports differ: ${reports1}\n---\n${reports3}")
endif()
foreach(report ${reports1})
  if(IS_DIRECTORY "${WORK_DIR}/jobs1/${report}")
    continue()
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/jobs1/${report}"
            "${WORK_DIR}/jobs3/${report}"
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${report} differs between --jobs 1 and --jobs 3")
  endif()
endforeach()
