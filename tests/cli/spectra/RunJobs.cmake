# Runs `travik-cli spectra` on the same files with --jobs 1 and with --jobs 3 and checks
# that both write the same reports, byte for byte, name them in the same order on stdout,
# give the same stderr and exit code; and that a file that cannot be read stops both runs
# after the reports of the files before it. Arguments (-D): CLI, WORK_DIR, FILES (separated
# by |), EXPECTED_EXIT, EXPECTED_REPORTS (how many reports each run writes).
file(REMOVE_RECURSE "${WORK_DIR}")
string(REPLACE "|" ";" files "${FILES}")
foreach(jobs 1 3)
  file(MAKE_DIRECTORY "${WORK_DIR}/jobs${jobs}")
  execute_process(
    COMMAND "${CLI}" spectra --dt 0.01 --damping 2,5,20 --jobs ${jobs}
            --out "${WORK_DIR}/jobs${jobs}" ${files}
    RESULT_VARIABLE exit${jobs}
    OUTPUT_VARIABLE out${jobs}
    ERROR_VARIABLE err${jobs})
  if(NOT exit${jobs} EQUAL EXPECTED_EXIT)
    message(FATAL_ERROR "--jobs ${jobs}: exit code ${exit${jobs}}, expected ${EXPECTED_EXIT}\n"
                        "stdout: ${out${jobs}}\nstderr: ${err${jobs}}")
  endif()
  file(GLOB reports${jobs} RELATIVE "${WORK_DIR}/jobs${jobs}" "${WORK_DIR}/jobs${jobs}/*")
  list(LENGTH reports${jobs} count)
  if(NOT count EQUAL EXPECTED_REPORTS)
    message(FATAL_ERROR "--jobs ${jobs} wrote ${count} reports, expected ${EXPECTED_REPORTS}: "
                        "${reports${jobs}}")
  endif()
  string(REPLACE "${WORK_DIR}/jobs${jobs}" "<out>" out${jobs} "${out${jobs}}")
endforeach()

if(NOT out1 STREQUAL out3)
  message(FATAL_ERROR "stdout differs:\n${out1}\n---\n${out3}")
endif()
if(NOT err1 STREQUAL err3)
  message(FATAL_ERROR "stderr differs:\n${err1}\n---\n${err3}")
endif()
foreach(report ${reports1})
  file(READ "${WORK_DIR}/jobs1/${report}" one)
  file(READ "${WORK_DIR}/jobs3/${report}" three)
  if(NOT one STREQUAL three)
    message(FATAL_ERROR "${report} differs between --jobs 1 and --jobs 3")
  endif()
endforeach()
