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
travik_scale_case(RefusesPairsUntilTwoComponentSpectraAreComputed EXIT 2
  ARGS scale ${SCALE_ANALYSIS} --asce 1,0.6,8 --range 0.05,2.5 --measure rotd50 --out out
       ${SCALE_STEPS}
  STDERR "--pairs, rotd50 and rotd100 need the two-component spectra, which this version does not compute yet: scale single components with --measure psa")

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
endif()
