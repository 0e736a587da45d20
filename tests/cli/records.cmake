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
  EXIT 2 STDERR "--g: the gravitational acceleration must be greater than 0")

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
