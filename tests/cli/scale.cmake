# travik-cli scale: the report of a suite of step records checked against one built from
# the closed-form step response (scale/make_expected.py), the scaled .AT2 records, and the
# refusals with their exit codes and messages. The checks are those of the measures tests.
set(SCALE_DIR ${TRAVIK_CLI_TEST_DIR}/scale)
set(SCALE_STEPS ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt ${SCALE_DIR}/input/short.txt
                ${SCALE_DIR}/input/big.txt)
set(SCALE_ANALYSIS --dt 0.01 --damping 5 --periods 0.05,0.25,1,2.5)

function(travik_scale_case name)
  travik_checked_cli_case(scale ${name} ${ARGN})
endfunction()

travik_scale_case(SelectsTheBestFitAndMeetsTheRuleWithEquality
  ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
       --range 0.05,2.5 --select 2 --out out ${SCALE_STEPS}
  EXIT 0 STDOUT "short\\.txt x1\\.093232\nbig\\.txt x0\\.4243344\nout/step_scaling\\.csv"
  STDERR "Warning: The suite holds 2 motions. ASCE/SEI 7-22 §16\\.2\\.2 asks for at least 11"
  COMPARE "out/step_scaling.csv=${SCALE_DIR}/expected/step_scaling.csv")

# 41 samples of 0.5 g times 1.0932325 = 0.5466162 g; 71 of 1.0 g times 0.4243344.
travik_scale_case(WritesTheSelectedRecordsScaledAsAt2
  ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
       --range 0.05,2.5 --select 2 --write-records out --out out ${SCALE_STEPS}
  EXIT 0
  STDOUT "short\\.txt x1\\.093232\nbig\\.txt x0\\.4243344\nout/step_scaling\\.csv\nout/short_x1\\.0932\\.AT2\nout/big_x0\\.4243\\.AT2"
  STDERR "Warning: .*"
  CONTAINS "out/short_x1.0932.AT2::NPTS=  41, DT=  0\\.01 SEC|out/short_x1.0932.AT2::  0\\.5466162E\\+00  0\\.5466162E\\+00  0\\.5466162E\\+00  0\\.5466162E\\+00  0\\.5466162E\\+00|out/short_x1.0932.AT2::ACCELERATION TIME SERIES IN UNITS OF G|out/big_x0.4243.AT2::  0\\.4243344E\\+00  0\\.4243344E\\+00  0\\.4243344E\\+00  0\\.4243344E\\+00  0\\.4243344E\\+00|out/short_x1.0932.AT2::Scaled from short\\.txt, factor 1\\.09323247[0-9]*"
  LINES "out/short_x1.0932.AT2=13|out/big_x0.4243.AT2=19"
  ABSENT "out/step_x0.7670.AT2")

# fmax 1 holds short.txt below the 1.093232 the rule asks for: at 0.25 s the mean falls to
# (1.013346 / 1.093232 + 0.7866537) / 2 = 0.8567 g, short of 0.9 g. The report is written.
travik_scale_case(LimitsThatHoldTheSuiteShortFailWithThePeriods
  ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
       --range 0.05,2.5 --select 2 --limits 0.2,1 --out out ${SCALE_STEPS}
  EXIT 1 STDOUT "short\\.txt x1\nbig\\.txt x0\\.4243344\nout/step_scaling\\.csv"
  STDERR "Warning: .*\nThe factor limits keep the suite mean below 90 % of the target at 0\\.25 s"
  CONTAINS "out/step_scaling.csv::short\\.txt,0\\.9545172,1\\.04765,1,0\\.03123162,yes,1")

# Without --rule the EN 1998-1 target brings its own rule; three records are enough for it.
travik_scale_case(EurocodeTargetChecksItsOwnRuleByDefault
  ARGS scale ${SCALE_ANALYSIS} --ec8 1,B,0.25 --range 0.05,2.5 --weights log --out out
       ${SCALE_STEPS}
  EXIT 0 STDOUT "step\\.txt x[0-9.]+\nshort\\.txt x[0-9.]+\nbig\\.txt x[0-9.]+\nout/step_scaling\\.csv"
  STDERR "")

travik_scale_case(AFileThatCannotBeReadLeavesTheSuiteUnscaled
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --out out
       ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt ${SCALE_DIR}/input/missing.txt
  EXIT 1 STDERR ".*missing\\.txt.*\nThe suite is not scaled: a record above could not be read or corrected"
  ABSENT "out/step_scaling.csv")

travik_scale_case(RefusesTminBelowTheAnalysisPeriods EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.01,2.5 --out out ${SCALE_STEPS}
  STDERR "Tmin 0\\.01 s lies below the smallest analysis period 0\\.05 s"
  ABSENT "out/step_scaling.csv")
travik_scale_case(RefusesTmaxAboveTheAnalysisPeriods EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,3 --out out ${SCALE_STEPS}
  STDERR "Tmax 3 s lies above the largest analysis period 2\\.5 s")
travik_scale_case(RefusesAnEmptyRange EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 1,1 --out out ${SCALE_STEPS}
  STDERR "The period range needs Tmin < Tmax: 1 s is not below 1 s")
travik_scale_case(RefusesAMalformedRange EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 1 --out out ${SCALE_STEPS}
  STDERR "--range takes TMIN,TMAX in seconds, e.g\\. 0\\.2,3")
travik_scale_case(RefusesMoreRecordsThanGiven EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --select 4 --out out
       ${SCALE_STEPS}
  STDERR "Cannot select 4 records out of 3 given"
  ABSENT "out/step_scaling.csv")
travik_scale_case(RefusesLimitsInTheWrongOrder EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --limits 2,1 --out out
       ${SCALE_STEPS}
  STDERR "The factor limits need fmin <= fmax: 2 > 1")
travik_scale_case(RefusesALimitOfZero EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --limits 0,1 --out out
       ${SCALE_STEPS}
  STDERR "The factor limits need fmin > 0, not 0")
travik_scale_case(RefusesARunWithoutTarget EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --range 0.05,2.5 --out out ${SCALE_STEPS}
  STDERR "Give a target: --target, --asce or --ec8")
travik_scale_case(RefusesTwoTargets EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --ec8 1,B,0.25 --range 0.05,2.5 --out out
       ${SCALE_STEPS}
  STDERR "Give one target: --target, --asce or --ec8")
travik_scale_case(RefusesAScalingPeriodOutsideTheAnalysis EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --at-period 3 --out out
       ${SCALE_STEPS}
  STDERR "The scaling period 3 s lies outside the analysis periods 0\\.05 s to 2\\.5 s")
# Each step record given twice, as H1 and H2 of a pair: the rotated component is
# (cos theta + sin theta) times the record, so RotD100 is sqrt(2) PSa and every factor is the
# single record's over sqrt(2), with the same errors, selection and scaled spectra
# (scale/make_expected.py). Both components of a selected pair are written, scaled alike:
# 0.5 g times 0.7730321 = 0.3865160 g, 1.0 g times 0.3000497.
set(SCALE_PAIRS ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt ${SCALE_DIR}/input/step_h2.txt
                ${SCALE_DIR}/input/short.txt ${SCALE_DIR}/input/short_h2.txt
                ${SCALE_DIR}/input/big.txt ${SCALE_DIR}/input/big_h2.txt)
travik_scale_case(PairsAreScaledByTheirRotD100AndWrittenWithBothComponents
  ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
       --range 0.05,2.5 --select 2 --pairs --write-records out --out out ${SCALE_PAIRS}
  EXIT 0
  STDOUT "short\\.txt x0\\.7730321\nbig\\.txt x0\\.3000497\nout/step_scaling\\.csv\nout/short_x0\\.7730\\.AT2\nout/short_h2_x0\\.7730\\.AT2\nout/big_x0\\.3000\\.AT2\nout/big_h2_x0\\.3000\\.AT2"
  STDERR "Warning: The suite holds 2 motions. ASCE/SEI 7-22 §16\\.2\\.2 asks for at least 11"
  COMPARE "out/step_scaling.csv=${SCALE_DIR}/expected/step_pairs_scaling.csv"
  CONTAINS "out/short_x0.7730.AT2::  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00|out/short_h2_x0.7730.AT2::  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00  0\\.3865160E\\+00|out/big_h2_x0.3000.AT2::  0\\.3000497E\\+00  0\\.3000497E\\+00  0\\.3000497E\\+00  0\\.3000497E\\+00  0\\.3000497E\\+00|out/short_h2_x0.7730.AT2::Scaled from short_h2\\.txt, factor 0\\.77303209[0-9]*"
  LINES "out/short_x0.7730.AT2=13|out/short_h2_x0.7730.AT2=13|out/big_x0.3000.AT2=19|out/big_h2_x0.3000.AT2=19"
  ABSENT "out/step_x0.5423.AT2|out/step_h2_x0.5423.AT2")

# The median of the 180 peaks sqrt(2) |sin(theta + 45)| is 1: RotD50 of such a pair is the
# record's PSa, and the report is the single records' to the last digit.
travik_scale_case(RotD50OfTwoEqualComponentsScalesAsTheirPsa
  ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
       --range 0.05,2.5 --select 2 --pairs --measure rotd50 --out out ${SCALE_PAIRS}
  EXIT 0 STDOUT "short\\.txt x1\\.093232\nbig\\.txt x0\\.4243344\nout/step_scaling\\.csv"
  STDERR "Warning: .*"
  COMPARE "out/step_scaling.csv=${SCALE_DIR}/expected/step_scaling.csv")

# Three pairs of six files: a selection counts pairs, not components.
travik_scale_case(SelectsAmongPairsNotComponents EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --select 4 --pairs --out out
       ${SCALE_PAIRS}
  STDERR "Cannot select 4 records out of 3 given"
  ABSENT "out/step_scaling.csv")
travik_scale_case(RefusesPsaOfPairs EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --pairs --measure psa --out out
       ${SCALE_PAIRS}
  STDERR "--measure psa scales single components: the two-component motions of --pairs are scaled by rotd100 \\(the default\\) or rotd50"
  ABSENT "out/step_scaling.csv")
travik_scale_case(RefusesRotDWithoutPairs EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --measure rotd100 --out out
       ${SCALE_STEPS}
  STDERR "--measure rotd100 needs --pairs: RotD50 and RotD100 are spectra of two-component motions"
  ABSENT "out/step_scaling.csv")
travik_scale_case(RefusesAnOddNumberOfComponents EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --pairs --out out
       ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt ${SCALE_DIR}/input/step_h2.txt
       ${SCALE_DIR}/input/short.txt
  STDERR "ERROR: An odd number of single-component files: [^\n]*short\\.txt has no second horizontal component. nothing is written"
  ABSENT "out/step_scaling.csv")
travik_scale_case(APairOfTwoTimeStepsLeavesTheSuiteUnscaled EXIT 1
  ARGS scale --format auto --periods 0.05,0.25,1,2.5 --asce 1,0.6,8 --range 0.05,2.5 --pairs
       --out out ${PROJECT_SOURCE_DIR}/data/formats/knet/CHB0031412312349.EW
       ${PROJECT_SOURCE_DIR}/data/formats/peer/RSN8883_14383980_13849360.AT2
  STDERR "FILE: CHB0031412312349\\.EW, ERROR: Components have different time steps: 0\\.01 s and 0\\.005 s\nThe suite is not scaled: a pair above cannot be rotated"
  ABSENT "out/CHB0031412312349_scaling.csv")

# Components of different lengths are rotated cut to the shorter, and written so: the
# PEER record's written component holds the 101 samples the step has (4 + 21 lines). The
# limits hold the factor at 1 so that the files' names are known.
travik_scale_case(APairCutToTheShorterComponentIsWrittenCut
  ARGS scale --format auto --dt 0.005 --periods 0.05,0.25,1,2.5 --asce 1,0.6,8 --rule none
       --range 0.05,2.5 --limits 1,1 --pairs --write-records out --out out
       ${PROJECT_SOURCE_DIR}/data/formats/peer/RSN8883_14383980_13849360.AT2
       ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt
  EXIT 0
  STDOUT "RSN8883_14383980_13849360\\.AT2 x1\nout/RSN8883_14383980_13849360_scaling\\.csv\nout/RSN8883_14383980_13849360_x1\\.0000\\.AT2\nout/step_x1\\.0000\\.AT2"
  STDERR "FILE: RSN8883_14383980_13849360\\.AT2, WARNING: Components have different lengths: 16396 and 101 samples. both are cut to the shorter, 101 samples"
  CONTAINS "out/RSN8883_14383980_13849360_scaling.csv::RSN8883_14383980_13849360\\.AT2,1,1,1,[0-9.e-]+,yes,1|out/step_x1.0000.AT2::  0\\.5000000E\\+00  0\\.5000000E\\+00  0\\.5000000E\\+00  0\\.5000000E\\+00  0\\.5000000E\\+00"
  LINES "out/RSN8883_14383980_13849360_x1.0000.AT2=25|out/step_x1.0000.AT2=25")

# The figure is drawn by the renderer, which only builds with the windows.
if(TRAVIK_BUILD_UI)
  travik_scale_case(DrawsTheFigureBesideTheReport
    ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
         --range 0.05,2.5 --select 2 --image svg --out out ${SCALE_STEPS}
    EXIT 0
    STDOUT "short\\.txt x1\\.093232\nbig\\.txt x0\\.4243344\nout/step_scaling\\.csv\nout/step_scaling\\.svg"
    STDERR "Warning: .*"
    CONTAINS "out/step_scaling.svg::.*2 records scaled to target\\.txt.*"
    COMPARE "out/step_scaling.csv=${SCALE_DIR}/expected/step_scaling.csv")
  travik_scale_case(DrawsPairsByTheirMeasure
    ARGS scale ${SCALE_ANALYSIS} --target ${SCALE_DIR}/input/target.txt --rule asce7
         --range 0.05,2.5 --select 2 --pairs --image svg --out out ${SCALE_PAIRS}
    EXIT 0
    STDOUT "short\\.txt x0\\.7730321\nbig\\.txt x0\\.3000497\nout/step_scaling\\.csv\nout/step_scaling\\.svg"
    STDERR "Warning: .*"
    CONTAINS "out/step_scaling.svg::.*2 pairs scaled to target\\.txt.*|out/step_scaling.svg::.*RotD100 \\[g\\].*")
endif()
