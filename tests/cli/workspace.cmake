# travik-cli --workspace: the reports of a workspace against those of its records given one
# by one with the same options, and the cases a workspace is refused or warned about.
foreach(case SameAsOneByOne MissingFileIsNamedAndTheRestWritten ChangedSizeIsAWarning
             LaterVersionOpensWithAWarning NotJsonIsRefused NoMarkerIsRefused
             FilesAndWorkspaceTogetherAreRefused TheSampleWorkspaceOpens
             InfoListsTheWorkspacesRecords)
  add_test(NAME cli.workspace.${case}
           COMMAND ${CMAKE_COMMAND}
                   -DCLI=$<TARGET_FILE:travik-cli>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/workspace/${case}
                   -DINPUT=${TRAVIK_CLI_TEST_DIR}/records/input
                   -DSAMPLES=${PROJECT_SOURCE_DIR}/data
                   -DCASE=${case}
                   -P ${TRAVIK_CLI_TEST_DIR}/workspace/run_workspace_case.cmake)
endforeach()
