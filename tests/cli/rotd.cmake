# End-to-end tests of `travik-cli rotd`, checked by a script against PEER's published RotD50
# of RSN 8883 and closed forms computed with numpy (not by this program).
# Debian's interpreter, where install-deps puts numpy, even when another python3 (a pyenv
# one, say) comes first on the PATH; -DPython3_EXECUTABLE=... chooses another.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  foreach(case peer steps odd time_steps right_angles lengths channels bad_percentile
               workspace)
    add_test(NAME cli.rotd.${case}
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/rotd/check_rotd.py
                     $<TARGET_FILE:travik-cli> ${PROJECT_SOURCE_DIR}/data
                     ${PROJECT_SOURCE_DIR}/tests/core/analysis/data
                     ${CMAKE_CURRENT_BINARY_DIR}/rotd/${case} ${case})
  endforeach()
endif()
