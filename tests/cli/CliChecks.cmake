# Checks shared by the command-line test scripts (run with cmake -P). Each reports every
# mismatch with SEND_ERROR, so one run lists them all.

# Runs ${CLI} with the "|"-separated ARGS in a fresh ${WORK} (with an empty out/ folder);
# sets exitCode, out and err in the caller.
function(travik_run_cli)
  file(REMOVE_RECURSE "${WORK}")
  file(MAKE_DIRECTORY "${WORK}/out")
  string(REPLACE "|" ";" arguments "${ARGS}")
  execute_process(COMMAND "${CLI}" ${arguments}
                  WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE code
                  OUTPUT_VARIABLE stdout
                  ERROR_VARIABLE stderr)
  set(exitCode "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
  if(NOT code STREQUAL "${EXIT}")
    message(SEND_ERROR "exit code ${code}, expected ${EXIT}\nstderr: ${stderr}")
  endif()
endfunction()

# The whole of `text` (the stream `what`) must match the regular expression `pattern` and
# end with one line feed; an empty pattern means the stream must be empty.
function(travik_check_stream what text pattern)
  if(pattern STREQUAL "")
    if(NOT text STREQUAL "")
      message(SEND_ERROR "unexpected ${what}:\n${text}")
    endif()
  elseif(NOT text MATCHES "^${pattern}\n$")
    message(SEND_ERROR "${what}:\n${text}\ndoes not match:\n${pattern}")
  endif()
endfunction()

# The "written=expected" pairs of `reports` (separated by "|") whose report was written, as two
# lists of the same length; a report not written is an error.
function(travik_written_reports reports writtenVar expectedVar)
  set(writtenList "")
  set(expectedList "")
  string(REPLACE "|" ";" pairs "${reports}")
  foreach(pair IN LISTS pairs)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 written)
    list(GET pair 1 expected)
    if(EXISTS "${WORK}/${written}")
      list(APPEND writtenList "${written}")
      list(APPEND expectedList "${expected}")
    else()
      message(SEND_ERROR "report ${written} was not written")
    endif()
  endforeach()
  set(${writtenVar} "${writtenList}" PARENT_SCOPE)
  set(${expectedVar} "${expectedList}" PARENT_SCOPE)
endfunction()

# COMPARE: "written=expected" pairs separated by "|", a report relative to ${WORK} and an
# expected file, compared byte for byte once the report's date line is masked.
function(travik_compare_reports)
  travik_written_reports("${COMPARE}" writtenList expectedList)
  foreach(written expected IN ZIP_LISTS writtenList expectedList)
    # Compared as hex: file(READ) as text would drop the CRs that are part of the format.
    file(READ "${WORK}/${written}" actualHex HEX)
    file(READ "${expected}" expectedHex HEX)
    # The report carries the day it was made: check its form ("Report Time: " and eight
    # digits, CR LF), then mask it as "Report Time: <date>".
    string(REGEX REPLACE "5265706f72742054696d653a20(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])(3[0-9])0d0a"
                         "5265706f72742054696d653a203c646174653e0d0a" actualHex "${actualHex}")
    if(NOT actualHex STREQUAL expectedHex)
      file(READ "${WORK}/${written}" actualText)
      message(SEND_ERROR "${written} differs from ${expected}:\n${actualText}")
    endif()
  endforeach()
endfunction()

# The bytes of `file` in hex, each followed by a blank, digits (0x30-0x39) as "3x", and a
# report date ("Report Time: <date>" or eight digits) as "<date>".
function(travik_digits_masked file outVar)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "(..)" "\\1 " hex "${hex}")
  string(REGEX REPLACE "3[0-9] " "3x " hex "${hex}")
  string(REPLACE "3c 64 61 74 65 3e " "<date>" hex "${hex}")
  string(REPLACE "3x 3x 3x 3x 3x 3x 3x 3x 0d 0a " "<date>0d 0a " hex "${hex}")
  set(${outVar} "${hex}" PARENT_SCOPE)
endfunction()

# COMPARE_NEAR: as COMPARE, but a number printed with fixed decimals may differ from the
# expected one by one unit of its last decimal: for series that an independent route
# computes through thousands of steps, where a value within 1e-11 of a rounding tie may
# round either way. Every other byte, CR LF included, must be the same.
function(travik_compare_reports_near)
  travik_written_reports("${COMPARE_NEAR}" writtenList expectedList)
  foreach(written expected IN ZIP_LISTS writtenList expectedList)
    file(READ "${WORK}/${written}" actual)
    file(READ "${expected}" wanted)
    string(REGEX REPLACE "Report Time: [0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]"
                         "Report Time: <date>" actual "${actual}")
    if(actual STREQUAL wanted)
      continue()
    endif()
    # Every byte but the digits must be the same and in the same place (file(READ) as text
    # drops the CRs, so this is checked in hex, bytes 0x30-0x39 masked).
    travik_digits_masked("${WORK}/${written}" actualHex)
    travik_digits_masked("${expected}" wantedHex)
    if(NOT actualHex STREQUAL wantedHex)
      message(SEND_ERROR "${written} differs from ${expected} in more than its digits")
      continue()
    endif()
    # Then the lines in turn, and the fields of a line that differs; a ";" in a report would
    # split the list, so it is masked first.
    foreach(var actual wanted)
      string(REPLACE ";" "<semicolon>" ${var} "${${var}}")
      string(REPLACE "\n" ";" ${var} "${${var}}")
    endforeach()
    list(LENGTH actual actualCount)
    list(LENGTH wanted wantedCount)
    if(NOT actualCount EQUAL wantedCount)
      message(SEND_ERROR "${written} has ${actualCount} lines where ${expected} has ${wantedCount}")
      continue()
    endif()
    foreach(line expectedLine IN ZIP_LISTS actual wanted)
      if(line STREQUAL expectedLine)
        continue()
      endif()
      string(REPLACE "," ";" fields "${line}")
      string(REPLACE "," ";" expectedFields "${expectedLine}")
      list(LENGTH fields fieldCount)
      list(LENGTH expectedFields expectedFieldCount)
      set(near TRUE)
      if(NOT fieldCount EQUAL expectedFieldCount)
        set(near FALSE)
      endif()
      foreach(a b IN ZIP_LISTS fields expectedFields)
        if(NOT near OR a STREQUAL b)
          continue()
        endif()
        set(near FALSE)
        if(a MATCHES "^-?[0-9]+[.][0-9]+$" AND b MATCHES "^-?[0-9]+[.][0-9]+$")
          foreach(var a b)
            string(REPLACE "." "" ${var} "${${var}}")
            string(REGEX REPLACE "^(-?)0+([0-9])" "\\1\\2" ${var} "${${var}}")
          endforeach()
          math(EXPR difference "${a} - ${b}")
          if(difference GREATER_EQUAL -1 AND difference LESS_EQUAL 1)
            set(near TRUE)
          endif()
        endif()
      endforeach()
      if(NOT near)
        message(SEND_ERROR "${written} differs from ${expected}:\n${line}\nwhere this was expected:\n${expectedLine}")
        break()
      endif()
    endforeach()
  endforeach()
endfunction()

# ABSENT: files relative to ${WORK} that must not exist, separated by "|".
function(travik_check_absent)
  if(ABSENT STREQUAL "")
    return()
  endif()
  string(REPLACE "|" ";" absentFiles "${ABSENT}")
  foreach(file IN LISTS absentFiles)
    if(EXISTS "${WORK}/${file}")
      message(SEND_ERROR "${file} should not have been written")
    endif()
  endforeach()
endfunction()
