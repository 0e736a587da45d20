# Finds Debian's own interpreter and pybind11 for the Python module. The module is built for
# /usr/bin/python3, where Debian's numpy, dask and pytest live, even when another python3
# (a pyenv one, say) comes first on the PATH; -DPython3_EXECUTABLE=... chooses another.
set(TRAVIK_PYTHON_ENABLED OFF)
if(NOT TRAVIK_BUILD_PYTHON STREQUAL "OFF")
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3)
  endif()
  set(PYBIND11_FINDPYTHON ON)
  find_package(Python3 COMPONENTS Interpreter Development.Module QUIET)
  find_package(pybind11 CONFIG QUIET)
  if(Python3_FOUND AND pybind11_FOUND)
    set(TRAVIK_PYTHON_ENABLED ON)
    message(STATUS "Python module travik: built for ${Python3_EXECUTABLE}")
  elseif(TRAVIK_BUILD_PYTHON STREQUAL "ON")
    message(FATAL_ERROR "TRAVIK_BUILD_PYTHON=ON needs python3-dev and pybind11-dev "
                        "(scripts/install-deps installs them)")
  else()
    message(STATUS "Python module travik: not built (pybind11 or the Python headers missing)")
  endif()
endif()
if(TRAVIK_PYTHON_ENABLED)
  # The core goes into a shared module too.
  set_target_properties(travik_core PROPERTIES POSITION_INDEPENDENT_CODE ON)
  add_subdirectory(src/python)
endif()
