# travik-cli records: reports compared with independently computed files
# (records/make_expected.py), and refusals with their exit codes and messages.
set(RECORDS_IN ${TRAVIK_CLI_TEST_DIR}/records/input)
set(RECORDS_EXPECTED ${TRAVIK_CLI_TEST_DIR}/records/expected)

function(travik_records_case name)
  cmake_parse_arguments(ARG "" "EXIT;STDOUT;STDERR;COMPARE;ABSENT" "ARGS" ${ARGN})
  string(REPLACE ";" "|" args "${ARG_ARGS}")
  add_test(NAME cli.records.${name}
           COMMAND ${CMAKE_COMMAND}
                   -DCLI=$<TARGET_FILE:travik-cli>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/records/${name}
                   -DARGS=${args}
                   -DEXIT=${ARG_EXIT}
                   -DSTDOUT=${ARG_STDOUT}
                   -DSTDERR=${ARG_STDERR}
                   -DCOMPARE=${ARG_COMPARE}
                   -DABSENT=${ARG_ABSENT}
                   -P ${TRAVIK_CLI_TEST_DIR}/records/run_case.cmake)
endfunction()

travik_records_case(WritesTheRawReportByDefault
  ARGS records --out out ${RECORDS_IN}/five.txt
  EXIT 0 STDOUT "out/five_TH.csv"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_none_TH.csv")

travik_records_case(WritesTheLinearCorrection
  ARGS records --baseline linear --out out ${RECORDS_IN}/five.txt
  EXIT 0 STDOUT "out/five_TH.csv"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_linear_TH.csv")

travik_records_case(WritesTheParabolicCorrection
  ARGS records --baseline parabolic --dt 0.01 --g 980 --out out ${RECORDS_IN}/five.txt
  EXIT 0 STDOUT "out/five_TH.csv"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_parabolic_TH.csv")

travik_records_case(ReadsHeaderColumnsAndScale
  ARGS records --skip 3 --delimiter space --column 3 --scale 2 --dt 0.02 --baseline parabolic
       --out out ${RECORDS_IN}/lab.run2.dat
  EXIT 0 STDOUT "out/lab.run2_TH.csv"
  COMPARE "out/lab.run2_TH.csv=${RECORDS_EXPECTED}/lab.run2_TH.csv")

travik_records_case(NumbersRepeatedNames
  ARGS records --out out ${RECORDS_IN}/five.txt ${RECORDS_IN}/five.txt
  EXIT 0 STDOUT "out/five_TH.csv|out/five_2_TH.csv"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_none_TH.csv|out/five_2_TH.csv=${RECORDS_EXPECTED}/five_none_TH.csv")

travik_records_case(StopsAtTheFirstFailingFile
  ARGS records --out out ${RECORDS_IN}/five.txt ${RECORDS_IN}/bad.txt ${RECORDS_IN}/never-read.txt
  EXIT 1 STDOUT "out/five_TH.csv"
  STDERR "FILE: bad\\.txt\\. ERROR Line: 3\\. ERROR: 'abc' is not a valid floating point value"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_none_TH.csv"
  ABSENT "out/bad_TH.csv|out/never-read_TH.csv")

travik_records_case(MissingFileGivesTheLoadMessage
  ARGS records --out out missing.txt
  EXIT 1
  STDERR "FILE : missing\\.txt , ERROR: Cannot open file \"/[^\"]*/missing\\.txt\"\\. No such file or directory")

travik_records_case(TooManySkippedLines
  ARGS records --skip 5 --out out ${RECORDS_IN}/five.txt
  EXIT 1
  STDERR "FILE: five\\.txt, WARNING: Skipline is too large, there is no data to read!"
  ABSENT "out/five_TH.csv")

travik_records_case(UncorrectableRecordIsReportedRaw
  ARGS records --baseline linear --out out ${RECORDS_IN}/one.txt
  EXIT 1 STDOUT "out/one_TH.csv"
  STDERR "FILE: one\\.txt, WARNING: Base Line Correction Failed!"
  COMPARE "out/one_TH.csv=${RECORDS_EXPECTED}/one_TH.csv")

travik_records_case(MissingOutputFolder
  ARGS records --out nowhere ${RECORDS_IN}/five.txt
  EXIT 1
  STDERR "Cannot create file \"nowhere/five_TH\\.csv\"\\. No such file or directory")

travik_records_case(RejectsATimeStepThatIsNotANumber
  ARGS records --dt 0,01 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "\"0,01\" is not a valid floating number!"
  ABSENT "out/five_TH.csv")

travik_records_case(RejectsAScaleThatIsNotANumber
  ARGS records --scale 1x --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "\"1x\" is not a valid floating number!")

travik_records_case(RejectsANonPositiveGravity
  ARGS records --g 0 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "Gravitational acceleration must be greater than zero![ ]")

travik_records_case(RejectsAGravityNoUnitSystemMeans
  ARGS records --g 1e308 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "Gravitational acceleration must be at most 1000000 cm/sec2![ ]")

travik_records_case(RejectsSkipOutOfRange
  ARGS records --skip 101 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--skip: Value 101 not in range 0 to 100\nRun with --help for more information\\.")

travik_records_case(RejectsColumnZero
  ARGS records --column 0 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--column: Value 0 not in range 1 to 100\nRun with --help for more information\\.")

travik_records_case(RejectsAnUnknownBaseline
  ARGS records --baseline cubic --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--baseline: cubic not in {none,linear,parabolic}\nRun with --help for more information\\.")

travik_records_case(RejectsAnUnknownDelimiter
  ARGS records --delimiter tab --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--delimiter: tab not in {comma,space}\nRun with --help for more information\\.")

travik_records_case(NeedsAFile
  ARGS records
  EXIT 2 STDERR "FILE is required\nRun with --help for more information\\.")

travik_records_case(RejectsATimeStepOfZero
  ARGS records --dt 0 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "Time Step must be greater than zero!"
  ABSENT "out/five_TH.csv")

travik_records_case(RejectsANegativeTimeStep
  ARGS records --dt -0.01 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "Time Step must be greater than zero!"
  ABSENT "out/five_TH.csv")

# Whole-number options take decimal digits only, the same message under either command.
travik_records_case(RejectsAHexadecimalSkip
  ARGS records --skip 0x10 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--skip: '0x10' is not a whole number written in plain decimal digits\nRun with --help for more information\\.")
travik_records_case(RejectsASkipWithABlank
  ARGS records "--skip= 1" --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--skip: ' 1' is not a whole number written in plain decimal digits\nRun with --help for more information\\.")
travik_records_case(RejectsAHexadecimalColumnUnderSpectra
  ARGS spectra --column 0x10 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--column: '0x10' is not a whole number written in plain decimal digits\nRun with --help for more information\\.")
# A leading zero would be read as octal (010 as 8), a prefix as another base: every
# whole-number option of every command refuses them with its name.
foreach(option_value IN ITEMS "--skip|010" "--column|01" "--order|010" "--order|0x8" "--order|0o10"
                              "--order|0b11" "--order|+2" "--jobs|010" "--skip|1e1")
  string(REPLACE "|" ";" pair "${option_value}")
  list(GET pair 0 option)
  list(GET pair 1 value)
  string(REGEX REPLACE "[^a-z0-9]" "" caseName "${option}${value}")
  set(command records)
  if(option STREQUAL "--jobs")
    set(command spectra)
  endif()
  string(REPLACE "+" "\\+" shownValue "${value}")
  travik_records_case(RejectsWholeNumberSpelling_${caseName}
    ARGS ${command} ${option} ${value} --filter lowpass --corners 5 --out out ${RECORDS_IN}/five.txt
    EXIT 2 STDERR "${option}: '${shownValue}' is not a whole number written in plain decimal digits\nRun with --help for more information\\.")
endforeach()
travik_records_case(RejectsANegativeColumn
  ARGS records --column -1 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--column: '-1' is not a whole number written in plain decimal digits\nRun with --help for more information\\.")

# A scale whose exponent lies beyond any double overflows, however many digits come first;
# the refused text is cut in the message.
travik_records_case(RejectsAScaleThatOverflowsAfterManyDigits
  ARGS records --scale 0.00000000000000000000000000000000000000000000000000000000000000000000000000000005e1000000 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "\"0\\.00000000000000000000000000000000000000000000000000000000000000…\" is not a valid floating number!"
  ABSENT "out/five_TH.csv")
travik_records_case(RejectsAScaledSampleThatOverflows
  ARGS records --scale 1e308 --out out ${RECORDS_IN}/large.txt
  EXIT 1 STDERR "FILE: large\\.txt\\. ERROR Line: 2\\. ERROR: '2\\.5' times the scaling factor 1E308 is too large for a number"
  ABSENT "out/large_TH.csv")
travik_records_case(RejectsATimeStepWhoseTimesOverflow
  ARGS records --dt 1e308 --out out ${RECORDS_IN}/five.txt
  EXIT 1 STDERR "FILE: five\\.txt, ERROR: The times, velocities or displacements of this record are too large for numbers \\(time step 1E308 s, g 980 cm/sec\\^2\\): check the time step, the scaling factor and g"
  ABSENT "out/five_TH.csv")
