# End-to-end tests of `travik-cli spectra`. The expected reports come from
# spectra/make_expected.py (closed forms and a separate transcription, not this program).
set(TRAVIK_SPECTRA_TEST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/spectra)

function(travik_spectra_test name)
  cmake_parse_arguments(ARG "NOTHING_WRITTEN" "EXIT;STDERR;REPORT;EXPECTED" "ARGS" ${ARGN})
  string(REPLACE ";" "|" arguments "${ARG_ARGS}")
  set(defines
    -DCLI=$<TARGET_FILE:travik-cli>
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/spectra/${name}
    "-DARGS=${arguments}"
    -DEXPECTED_EXIT=${ARG_EXIT})
  if(DEFINED ARG_STDERR)
    # The end-of-line mark keeps the messages' trailing blanks through the command line.
    list(APPEND defines "-DEXPECTED_STDERR=${ARG_STDERR}<EOL>")
  endif()
  if(DEFINED ARG_REPORT)
    list(APPEND defines -DREPORT_NAME=${ARG_REPORT})
  endif()
  if(ARG_NOTHING_WRITTEN)
    list(APPEND defines -DNOTHING_WRITTEN=ON)
  endif()
  if(DEFINED ARG_EXPECTED)
    list(APPEND defines -DEXPECTED_REPORT=${TRAVIK_SPECTRA_TEST_DIR}/expected/${ARG_EXPECTED})
  endif()
  add_test(NAME cli.spectra.${name}
           COMMAND ${CMAKE_COMMAND} ${defines} -P ${TRAVIK_SPECTRA_TEST_DIR}/RunSpectra.cmake)
endfunction()

set(step ${TRAVIK_SPECTRA_TEST_DIR}/input/step.txt)
set(pulse ${TRAVIK_SPECTRA_TEST_DIR}/input/pulse.txt)

travik_spectra_test(StepMatchesTheClosedFormSortedAndDeduplicated EXIT 0
  ARGS --dt 0.01 --damping 12.345,5,2.5,5 --periods 0.05,0.25,1,2.5 ${step}
  REPORT step_RS.csv EXPECTED step_exact_RS.csv)
travik_spectra_test(NewmarkPulseMatchesATranscriptionOfTheMethod EXIT 0
  ARGS --dt 0.01 --method newmark --max-dt-ratio 0.1 --damping 5,2 --periods 0.05,0.25,1,2.5
       ${pulse}
  REPORT pulse_RS.csv EXPECTED pulse_RS.csv)
# n = trunc(dt / (T maxDtOverT) + 1) = 11, 3, 1, 1 and dt / T = 0.2, 0.04, 0.01, 0.004.
travik_spectra_test(AccuracyColumnsFollowThePeriodColumn EXIT 0
  ARGS --dt 0.01 --damping 12.345,5,2.5,5 --periods 0.05,0.25,1,2.5 --accuracy-columns ${step}
  REPORT step_RS.csv EXPECTED step_accuracy_RS.csv)
# Failed runs are listed once per damping value; a report whose every run failed is not
# written, and either way the exit status says that something failed.
travik_spectra_test(EveryRunFailingWritesNoReport EXIT 1
  ARGS --dt 0.01 --damping -150 --periods 0.5,1 ${step}
  STDERR "FILE: step.txt, Error calculation : DampingRatio: -1.5  Period :0.5 and 1 more period up to 1"
  NOTHING_WRITTEN)
travik_spectra_test(EveryRunFailingSaysSo EXIT 1
  ARGS --dt 0.01 --damping 5,2 --periods 0.00000001 ${step}
  STDERR "FILE: step.txt, ERROR: No oscillator of the analysis could be computed: no report is written"
  NOTHING_WRITTEN)
travik_spectra_test(SomeRunsFailingAreListedOncePerDamping EXIT 1
  ARGS --dt 0.01 --damping 5,2 --periods 0.00000001,0.00000002,0.5 ${step}
  STDERR "FILE: step.txt, Error calculation : DampingRatio: 0.05  Period :1E-8 and 1 more period up to 2E-8"
  REPORT step_RS.csv)
travik_spectra_test(MissingFileIsAReaderFailure EXIT 1
  ARGS --dt 0.01 ${TRAVIK_SPECTRA_TEST_DIR}/input/no-such-record.txt)

travik_spectra_test(RefusesMinPeriodOfZero EXIT 2 ARGS --min-period 0 ${step}
  STDERR "Min. Period must be greater than zero! ")
travik_spectra_test(RefusesMaxPeriodBelowMin EXIT 2 ARGS --min-period 2 --max-period 1 ${step}
  STDERR "Max. Period must be greater than Min. Period! ")
travik_spectra_test(RefusesPeriodStepBeyondTheRange EXIT 2 ARGS --period-step 6 ${step}
  STDERR "periodstep must be less than [Max. Period - Min. Period] ! ")
travik_spectra_test(RefusesTimeStepOfZero EXIT 2 ARGS --dt 0 ${step}
  STDERR "Time Step must be greater than zero!")
travik_spectra_test(RefusesTextAsRatio EXIT 2 ARGS --max-dt-ratio abc ${step}
  STDERR "\"abc\" is not a valid floating number!")
travik_spectra_test(RefusesZeroRatio EXIT 2 ARGS --max-dt-ratio 0 ${step}
  STDERR "Maximum dt/T  must be greater than zero! ")
travik_spectra_test(RefusesNonPositiveGravity EXIT 2 ARGS --g -1 ${step}
  STDERR "Gravitational acceleration must be greater than zero! ")
travik_spectra_test(RefusesAGravityNoUnitSystemMeans EXIT 2 ARGS --g 1e308 ${step}
  STDERR "Gravitational acceleration must be at most 1000000 cm/sec2! ")
travik_spectra_test(RefusesBetaTextOnlyForNewmark EXIT 2 ARGS --method newmark --beta x ${step}
  STDERR "\"x\" is not a valid floating number!")
travik_spectra_test(RefusesDampingOfHundredPercent EXIT 2 ARGS --damping 5,100 ${step}
  STDERR "Damping Ratio must be less than 1!")
travik_spectra_test(RefusesTenDampingValues EXIT 2 ARGS --damping 1,2,3,4,5,6,7,8,9,10 ${step}
  STDERR "--damping takes one to nine percentages separated by commas")
travik_spectra_test(RefusesPeriodsOutOfOrder EXIT 2 ARGS --periods 1,0.5 ${step}
  STDERR "--periods: the periods must be greater than zero and in ascending order")

# Several records at once: the reports, their order and the messages do not depend on
# --jobs, and a file that cannot be read stops the run after the reports before it.
function(travik_spectra_jobs_test name)
  cmake_parse_arguments(ARG "" "EXIT;REPORTS;STDERR;BLOCKED" "FILES;ARGS" ${ARGN})
  string(REPLACE ";" "|" files "${ARG_FILES}")
  set(defines -DCLI=$<TARGET_FILE:travik-cli>
              -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/spectra/${name} "-DFILES=${files}"
              -DEXPECTED_EXIT=${ARG_EXIT} -DEXPECTED_REPORTS=${ARG_REPORTS})
  if(DEFINED ARG_ARGS)
    string(REPLACE ";" "|" arguments "${ARG_ARGS}")
    list(APPEND defines "-DARGS=${arguments}")
  endif()
  if(DEFINED ARG_STDERR)
    list(APPEND defines "-DEXPECTED_STDERR=${ARG_STDERR}<EOL>")
  endif()
  if(DEFINED ARG_BLOCKED)
    list(APPEND defines -DBLOCKED_REPORT=${ARG_BLOCKED})
  endif()
  add_test(NAME cli.spectra.${name}
           COMMAND ${CMAKE_COMMAND} ${defines} -P ${TRAVIK_SPECTRA_TEST_DIR}/RunJobs.cmake)
endfunction()
set(sample ${PROJECT_SOURCE_DIR}/data)
travik_spectra_jobs_test(ManyRecordsGiveTheSameReportsWhateverTheJobs EXIT 0 REPORTS 6
  FILES ${step} ${pulse} ${sample}/elcentro-1940-chopra-ns.txt ${sample}/eqsig-test-motion.txt
        ${step} ${sample}/boore-whittier-cat-090.txt)
travik_spectra_jobs_test(AnUnreadableFileStopsTheRunAfterTheReportsBeforeIt EXIT 1 REPORTS 2
  FILES ${step} ${pulse} ${TRAVIK_SPECTRA_TEST_DIR}/input/no-such-record.txt
        ${sample}/elcentro-1940-chopra-ns.txt ${sample}/eqsig-test-motion.txt)
set(records_in ${TRAVIK_CLI_TEST_DIR}/records/input)
travik_spectra_jobs_test(ABadFileInTheMiddleStopsTheRunAfterTheReportsBeforeIt EXIT 1 REPORTS 3
  FILES ${step} ${pulse} ${sample}/eqsig-test-motion.txt ${records_in}/bad.txt
        ${sample}/elcentro-1940-chopra-ns.txt ${step}
  STDERR "FILE: bad.txt. ERROR Line: 3. ERROR: 'abc' is not a valid floating point value")
# A record the baseline fit is not defined for (a single sample) is reported uncorrected
# with its warning, before any analysis; failed runs are listed per record in file order;
# a name met twice gets _2.
travik_spectra_jobs_test(WarningsAndFailedRunsComeInFileOrderWhateverTheJobs EXIT 1 REPORTS 5
  ARGS --dt 0.01 --baseline linear --damping 5,2 --periods 0.00000001,0.5,1
  FILES ${step} ${records_in}/one.txt ${pulse} ${step} ${records_in}/five.txt
  STDERR "FILE: one.txt, WARNING: Base Line Correction Failed!")
# A filter that does not fit a record in the middle (its 0.02 s step puts the Nyquist
# frequency at 25 Hz, the free-format files have 0.01 s) refuses the run before any report
# is written, however many records are being analysed at once.
travik_spectra_jobs_test(AFilterMisfitInTheMiddleWritesNothing EXIT 2 REPORTS 0
  ARGS --format auto --filter lowpass --corners 30
  FILES ${sample}/elcentro-1940-chopra-ns.txt ${sample}/eqsig-test-motion.txt
        ${sample}/formats/smc/A-CAT090.AT2.smc ${sample}/boore-whittier-cat-090.txt
        ${records_in}/five.txt
  STDERR "--corners: FILE: A-CAT090.AT2.smc, High corner frequency 30 Hz must be below the Nyquist frequency 25 Hz of the record")
# A report that cannot be put in place (a folder has its name) stops the run there: the
# reports before it stay, those analysed ahead of their turn leave nothing behind.
travik_spectra_jobs_test(AReportThatCannotBePutInPlaceStopsTheRunThere EXIT 1 REPORTS 3
  FILES ${sample}/elcentro-1940-chopra-ns.txt ${sample}/eqsig-test-motion.txt
        ${sample}/boore-whittier-cat-090.txt ${sample}/elcentro-1940-chopra-ns.txt ${pulse}
  BLOCKED boore-whittier-cat-090_RS.csv
  STDERR "boore-whittier-cat-090_RS.csv\". Is a directory")
travik_spectra_test(RefusesZeroJobs EXIT 2 ARGS --jobs 0 ${step}
  STDERR "--jobs: Value 0 not in range 1 to 1024")

# Work limits: a period list is refused before it is built, long work is announced.
travik_spectra_test(RefusesAPeriodStepGivingBillionsOfPeriods EXIT 2 ARGS --period-step 1e-9 ${step}
  STDERR "Too many periods: the period range and step give 5980000002 periods, at most 100000 are allowed! Make the period step larger or the range smaller. ")
travik_spectra_test(RefusesAnEndlessPeriodRange EXIT 2 ARGS --max-period 1e308 ${step}
  STDERR "Too many periods: the period range and step give more than 10^15 periods, at most 100000 are allowed! Make the period step larger or the range smaller. ")
travik_spectra_test(RefusesARecordWhoseMotionOverflows EXIT 1 ARGS --scale 1e308 ${step}
  STDERR "FILE: step.txt, ERROR: The times, velocities or displacements of this record are too large for numbers (time step 0.01 s, g 980 cm/sec^2): check the time step, the scaling factor and g"
  NOTHING_WRITTEN)
