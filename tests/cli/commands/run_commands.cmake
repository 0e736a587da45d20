# travik-cli builds only the command it runs when the first argument names one; whatever
# else it is given, it builds every command. Checks that this is invisible from outside:
#   CLI    the program
#   WORK   a folder of its own, emptied first
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/out")

function(run)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE code OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  set(code "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

# The program's help still lists every command.
run(--help)
foreach(command records spectra info measures scale rotd)
  if(NOT out MATCHES "\n  ${command} +[A-Z]")
    message(SEND_ERROR "--help does not list ${command}:\n${out}")
  endif()
endforeach()

# A command's own help, and an option another command has but this one has not.
run(info --help)
if(NOT code EQUAL 0 OR NOT out MATCHES "Usage: .* info \\[OPTIONS\\]")
  message(SEND_ERROR "info --help: exit ${code}\n${out}${err}")
endif()
run(info --damping 5 none.txt)
if(NOT code EQUAL 2 OR NOT err MATCHES "The following argument was not expected: --damping")
  message(SEND_ERROR "info --damping: exit ${code}\n${err}")
endif()

# A file named like a command is a file, as it always was.
file(WRITE "${WORK}/info" "0\n0.01\n-0.02\n")
run(spectra --dt 0.01 --out out info)
if(NOT code EQUAL 0 OR NOT EXISTS "${WORK}/out/info_RS.csv")
  message(SEND_ERROR "spectra with a file named info: exit ${code}\n${out}${err}")
endif()

# A mistyped command is refused as no command at all.
run(spectrum file.txt)
if(NOT code EQUAL 2 OR NOT err MATCHES "^A subcommand is required\n")
  message(SEND_ERROR "spectrum: exit ${code}\n${err}")
endif()
