# travik-cli measures, and the filter options of every command: reports checked line by
# line against hand-worked values, filtered time histories against SciPy
# (measures/make_expected.py), and refusals with their exit codes and messages.
set(MEASURES_DIR ${TRAVIK_CLI_TEST_DIR}/measures)
set(MEASURES_IN ${MEASURES_DIR}/input)
set(MEASURES_EXPECTED ${MEASURES_DIR}/expected)

# One run of travik-cli checked by measures/run_measures.cmake, named cli.<group>.<name>
# and run in its own folder; the scale tests use it too.
function(travik_checked_cli_case group name)
  cmake_parse_arguments(ARG "" "EXIT;STDOUT;STDERR;COMPARE;COMPARE_NEAR;CONTAINS;LINES;ABSENT" "ARGS" ${ARGN})
  string(REPLACE ";" "|" args "${ARG_ARGS}")
  add_test(NAME cli.${group}.${name}
           COMMAND ${CMAKE_COMMAND}
                   -DCLI=$<TARGET_FILE:travik-cli>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${group}/${name}
                   -DARGS=${args}
                   -DEXIT=${ARG_EXIT}
                   -DSTDOUT=${ARG_STDOUT}
                   -DSTDERR=${ARG_STDERR}
                   -DCOMPARE=${ARG_COMPARE}
                   -DCOMPARE_NEAR=${ARG_COMPARE_NEAR}
                   -DCONTAINS=${ARG_CONTAINS}
                   -DLINES=${ARG_LINES}
                   -DABSENT=${ARG_ABSENT}
                   -P ${TRAVIK_CLI_TEST_DIR}/measures/run_measures.cmake)
endfunction()

function(travik_measures_case name)
  travik_checked_cli_case(measures ${name} ${ARGN})
endfunction()

# (A ";" in a pattern would split the CMake list and "|" the entries: "." stands for them.)
# triangle.txt: 25 periods of the triangle wave 0, 0.25, 0.5, 0.25, 0, -0.25, -0.5, -0.25 g
# at 0.01 s. Per period the trapezoidal integral of |a| is 2 * 0.01 g*s and that of a^2
# 0.75 * 0.01 g^2*s; 199 steps are 24 periods and 7 steps (1.875 and 0.71875 * 0.01):
# CAV = 0.49875 g*s, Ia = pi / (2 * 9.8) * 0.1871875 * 9.8^2 = 2.88152768... m/s. |a| >= 0.05 g
# from 0.01 s to 1.99 s; both one-second windows count in the standardised CAV.
travik_measures_case(WritesTheMeasuresAndTheFourierSpectrum
  ARGS measures --out out ${MEASURES_IN}/triangle.txt
  EXIT 0 STDOUT "out/triangle_GM\\.csv\nout/triangle_FS\\.csv"
  CONTAINS "out/triangle_GM.csv::Baseline Correction Type: No Baseline Correction|out/triangle_GM.csv::Name,Value,Unit,Note|out/triangle_GM.csv::PGA,0\\.5,g|out/triangle_GM.csv::Time of PGA,0\\.02,s|out/triangle_GM.csv::CAV,0\\.4987[45][0-9]*,g\\*s|out/triangle_GM.csv::Standardised CAV,0\\.4987[45][0-9]*,g\\*s|out/triangle_GM.csv::Arias intensity,2\\.88152768[0-9]*,m/sec|out/triangle_GM.csv::Bracketed duration,1\\.98,s|out/triangle_GM.csv::Bracketed duration start,0\\.01,s|out/triangle_GM.csv::Bracketed duration end,1\\.99,s|out/triangle_FS.csv::Frequency\\[Hz\\],Fourier Amplitude\\[cm/sec\\],Smoothed Amplitude\\[cm/sec\\]|out/triangle_FS.csv::Fourier Transform: 200 samples zero-padded to 256. amplitude = dt \\* .FFT.|out/triangle_FS.csv::50,[0-9.eE-]+,[0-9.eE-]+"
  LINES "out/triangle_GM.csv=36|out/triangle_FS.csv=138")

travik_measures_case(PrintsASummaryLinePerRecord
  ARGS measures --summary --bracket-threshold 0.3 --out out ${MEASURES_IN}/triangle.txt
  EXIT 0
  STDOUT "out/triangle_GM\\.csv\nout/triangle_FS\\.csv\ntriangle\\.txt PGA=0\\.5 g PGV=[0-9.]+ cm/s D5-95=[0-9.]+ s"
  CONTAINS "out/triangle_GM.csv::Bracketed Duration Threshold\\[g\\]: 0\\.3|out/triangle_GM.csv::Bracketed duration start,0\\.02,s")

travik_measures_case(FilterIsNamedInTheMeasuresHeader
  ARGS measures --filter bandpass --corners 0.5,10 --order 2 --acausal --baseline linear
       --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_GM\\.csv\nout/wave_FS\\.csv"
  CONTAINS "out/wave_GM.csv::Baseline Correction Type: Linear. Butterworth band-pass 0\\.5-10 Hz, order 2, acausal|out/wave_GM.csv::Measured Series: Corrected")

travik_measures_case(RecordsFiltersTheBaselineCorrectedAccelerationLikeScipy
  ARGS records --baseline linear --filter bandpass --corners 0.5,10 --order 2 --acausal
       --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_TH\\.csv"
  COMPARE_NEAR "out/wave_TH.csv=${MEASURES_EXPECTED}/wave_linear_bandpass_TH.csv")

travik_measures_case(RecordsFiltersTheRawAccelerationCausallyLikeScipy
  ARGS records --filter lowpass --corners 5 --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_TH\\.csv"
  COMPARE "out/wave_TH.csv=${MEASURES_EXPECTED}/wave_lowpass_causal_TH.csv")

travik_measures_case(SpectraNameTheFilter
  ARGS spectra --filter highpass --corners 1 --order 3 --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_RS\\.csv"
  CONTAINS "out/wave_RS.csv::Baseline Correction Type: No Baseline Correction. Butterworth high-pass 1 Hz, order 3, causal")

travik_measures_case(RejectsABandPassWithOneCorner
  ARGS measures --filter bandpass --corners 0.1 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--corners: bandpass takes two corner frequencies F1,F2 in Hz"
  ABSENT "out/wave_GM.csv|out/wave_FS.csv")

travik_measures_case(RejectsAnOrderAboveEight
  ARGS records --filter lowpass --corners 5 --order 9 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--order: Filter order must be from 1 to 8 \\(is 9\\)"
  ABSENT "out/wave_TH.csv")

travik_measures_case(RejectsAHighCornerBelowTheLowOne
  ARGS spectra --filter bandpass --corners 10,5 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--corners: High corner frequency 5 Hz must be above the low corner frequency 10 Hz"
  ABSENT "out/wave_RS.csv")

travik_measures_case(RejectsACornerAtTheNyquistFrequency
  ARGS measures --filter lowpass --corners 50 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--corners: FILE: wave\\.txt, High corner frequency 50 Hz must be below the Nyquist frequency 50 Hz of the record"
  ABSENT "out/wave_GM.csv|out/wave_FS.csv")

# The pads (60 s) are added to the 10 s record: it is filtered. At 0.1 Hz = 1 / 10 s the
# corner is resolved; at 0.05 Hz it is not, and a warning says so.
travik_measures_case(FiltersARecordShorterThanItsPads
  ARGS records --filter highpass --corners 0.1 --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_TH\\.csv"
  CONTAINS "out/wave_TH.csv::Baseline Correction Type: No Baseline Correction. Butterworth high-pass 0\\.1 Hz, order 4, causal")

travik_measures_case(WarnsOfACornerBelowWhatTheRecordResolves
  ARGS records --filter highpass --corners 0.05 --acausal --out out ${MEASURES_IN}/wave.txt
  EXIT 0 STDOUT "out/wave_TH\\.csv"
  STDERR "FILE: wave\\.txt, WARNING: Low corner frequency 0\\.05 Hz is below 0\\.1 Hz, the lowest frequency a record of 10 s resolves \\(1 / its length\\): the record is filtered, but it holds no whole cycle at the corner"
  LINES "out/wave_TH.csv=1008")

# 1.5 x 8 / 1e-6 Hz = 12,000,000 s of pads, 1.2e9 samples at 0.01 s: beyond what can be held.
travik_measures_case(RefusesPadsTooLongToCompute
  ARGS records --filter highpass --corners 0.000001 --order 8 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--filter: FILE: wave\\.txt, Zero pads too long to compute: the zero pads of order 8 at 1E-6 Hz take 1\\.5 x order / corner = 12000000 s, 1200000000 samples at 0\\.01 s. with the record's 1000 samples that is more than the 134217728 a filtered record may hold"
  ABSENT "out/wave_TH.csv")

travik_measures_case(RejectsACornerThatIsNotANumber
  ARGS measures --filter bandpass --corners 0.1,x --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--corners: \"x\" is not a valid floating number!")

travik_measures_case(RejectsCornersWithoutAFilter
  ARGS records --corners 0.1,25 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--corners: give the filter with --filter lowpass, highpass or bandpass")

travik_measures_case(RejectsAnUnknownFilter
  ARGS measures --filter notch --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--filter: notch not in {none,lowpass,highpass,bandpass}\nRun with --help for more information\\.")

travik_measures_case(RejectsANonPositiveBracketThreshold
  ARGS measures --bracket-threshold 0 --out out ${MEASURES_IN}/wave.txt
  EXIT 2 STDERR "--bracket-threshold: the threshold must be greater than 0"
  ABSENT "out/wave_GM.csv")
