# Hostile surroundings of travik-cli: pipes, devices, a full disk, a read-only folder and
# too little memory (shell scripts in hostile/; exit 77 means the machine cannot set the
# case up).
function(travik_hostile_case name)
  add_test(NAME cli.hostile.${name}
           COMMAND bash ${TRAVIK_CLI_TEST_DIR}/hostile/${name}.sh $<TARGET_FILE:travik-cli>
                   ${CMAKE_CURRENT_BINARY_DIR}/hostile/${name} ${TRAVIK_CLI_TEST_DIR}/records/input)
  set_tests_properties(cli.hostile.${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endfunction()

travik_hostile_case(FifoIsRefusedAtOnce)
travik_hostile_case(DevicesAreRefusedAtOnce)
travik_hostile_case(FullDiskKeepsEarlierReports)
travik_hostile_case(ReadOnlyFolderAsAnotherUser)
travik_hostile_case(SignalsRemoveTemporaries)
travik_hostile_case(ShrunkFileIsNotAnalysedSilently)
# AddressSanitizer reserves terabytes of address space: a limit on it cannot apply there.
if(NOT TRAVIK_SANITIZE)
  travik_hostile_case(OutOfMemoryNamesTheAction)
  if(TRAVIK_BUILD_UI)
    travik_hostile_case(PlotTooLargeForMemoryFails)
  endif()
endif()
