# End-to-end tests of `travik-cli plot`, the figure renderer (built with the windows).
set(TRAVIK_PLOT_TEST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/plot)

function(travik_plot_test name)
  cmake_parse_arguments(ARG "" "EXIT;STDERR;STDOUT;PNG_SIZE" "ARGS;FILES" ${ARGN})
  string(REPLACE ";" "|" arguments "${ARG_ARGS}")
  string(REPLACE ";" "|" files "${ARG_FILES}")
  set(defines
    -DCLI=$<TARGET_FILE:travik-cli>
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/plot/${name}
    "-DARGS=${arguments}"
    "-DFILES=${files}"
    -DEXPECTED_EXIT=${ARG_EXIT})
  foreach(key STDERR STDOUT PNG_SIZE)
    if(DEFINED ARG_${key})
      list(APPEND defines "-DEXPECTED_${key}=${ARG_${key}}")
    endif()
  endforeach()
  if(DEFINED ARG_PNG_SIZE)
    list(APPEND defines "-DPNG_SIZE=${ARG_PNG_SIZE}")
  endif()
  add_test(NAME cli.plot.${name}
           COMMAND ${CMAKE_COMMAND} ${defines} -P ${TRAVIK_PLOT_TEST_DIR}/RunPlot.cmake)
endfunction()

set(pulse ${TRAVIK_CLI_TEST_DIR}/spectra/input/pulse.txt)
set(step ${TRAVIK_CLI_TEST_DIR}/spectra/input/step.txt)

travik_plot_test(SpectraAsPngOfTheRequestedSize EXIT 0
  ARGS spectra --dt 0.01 --damping 2,5 --size 640x400 --dpi 100 --log x,y ${pulse} ${step}
  FILES pulse_RS.png step_RS.png PNG_SIZE 640x400)
travik_plot_test(DefaultSizeIsSixteenHundredByThousand EXIT 0
  ARGS spectra --dt 0.01 --tripartite ${pulse}
  FILES pulse_RS.png PNG_SIZE 1600x1000)
travik_plot_test(RecordsAsSvg EXIT 0
  ARGS records --dt 0.01 --image svg ${pulse}
  FILES pulse_TH.svg)
travik_plot_test(AdrsAsPdf EXIT 0
  ARGS spectra --dt 0.01 --adrs --image pdf ${pulse}
  FILES pulse_RS.pdf)
travik_plot_test(CheckedMeanWithTargetAndStatistics EXIT 0
  ARGS spectra --dt 0.01 --checked-mean --statistics mean,median,sigma,lognormal,lnsigma
       --asce 1.0,0.6,8 --ratio-range 0.1,2 --statistics-csv --size 400x300 ${pulse} ${step}
  FILES pulse_mean_RS.png pulse_mean_RS.csv PNG_SIZE 400x300
  STDOUT "Mean/target (PSa) at ")
travik_plot_test(BadTargetFileNamesFileAndLineAndDrawsNothing EXIT 1
  ARGS spectra --dt 0.01 --target ${TRAVIK_PLOT_TEST_DIR}/unsorted-target.txt ${pulse}
  STDERR "unsorted-target.txt, line 4: the period 0.3 s is not greater than the period 0.5 s of line 3")
# Values no axis can be built from are refused where they enter, never drawn on a
# logarithmic axis (whose range code would recurse without end).
travik_plot_test(RefusesATargetBeyondWhatAnAxisCanShow EXIT 1
  ARGS spectra --dt 0.01 --log y --target ${TRAVIK_PLOT_TEST_DIR}/overflowing-target.txt ${pulse}
  STDERR "overflowing-target.txt, line 2: Sa 1.1E308 g is outside 0 and 1E-12 to 100 g")
travik_plot_test(RefusesADesignSpectrumBeyondWhatAnAxisCanShow EXIT 2
  ARGS spectra --dt 0.01 --log y --ec8 1,B,5e307 ${pulse}
  STDERR "--ec8: a_g is too large: the plateau a_g S eta 2.5 would exceed 100 g")
travik_plot_test(RefusesAnAsceSpectrumBeyondWhatAnAxisCanShow EXIT 2
  ARGS spectra --dt 0.01 --log x,y --asce 1e307,0.6,8 ${pulse}
  STDERR "--asce: S_DS and S_D1 must be at most 100 g")
# A plot of which no run could be computed draws nothing and says so.
travik_plot_test(EveryRunFailedDrawsNothingAndFails EXIT 1
  ARGS spectra --dt 0.01 --periods 1e-300 ${pulse}
  STDERR "ERROR: No oscillator of the analysis could be computed: no figure is drawn")
travik_plot_test(RefusesAMalformedSize EXIT 2 ARGS spectra --dt 0.01 --size 1600 ${pulse}
  STDERR "--size takes WIDTHxHEIGHT in whole pixels, e.g. 1600x1000")
travik_plot_test(RefusesAnOctalResolution EXIT 2 ARGS spectra --dt 0.01 --dpi 0300 ${pulse}
  STDERR "--dpi: '0300' is not a whole number written in plain decimal digits")
foreach(size IN ITEMS 0x10x100 010x100 1e3x100 100x+100 100.0x100)
  travik_plot_test(RefusesASizeSpelled_${size} EXIT 2 ARGS spectra --dt 0.01 --size ${size} ${pulse}
    STDERR "--size takes WIDTHxHEIGHT in whole pixels, e.g. 1600x1000")
endforeach()
travik_plot_test(RefusesTwoTargets EXIT 2
  ARGS spectra --dt 0.01 --asce 1,0.6,8 --ec8 1,B,0.25 ${pulse}
  STDERR "Give one target: --target, --asce or --ec8")
travik_plot_test(RefusesAnUnknownGroundType EXIT 2 ARGS spectra --dt 0.01 --ec8 1,F,0.25 ${pulse}
  STDERR "--ec8 takes TYPE,GROUND,AG[,XI]")

# Two horizontal components: one figure per motion, named after H1; an odd count of
# single-channel files draws nothing; a refused motion is skipped and the others drawn.
set(halfstep ${TRAVIK_CLI_TEST_DIR}/rotd/input/halfstep.txt)
set(knet ${PROJECT_SOURCE_DIR}/data/formats/knet/CHB0031412312349)
travik_plot_test(RotdAsPngOfEveryMotion EXIT 0
  ARGS rotd --dt 0.01 --size 640x400 --dpi 100 --log x,y --asce 1.0,0.6,8 ${step} ${halfstep}
       ${pulse} ${step}
  FILES step_RotD.png pulse_RotD.png PNG_SIZE 640x400)
travik_plot_test(RotdOddCountDrawsNothing EXIT 2
  ARGS rotd --dt 0.01 ${step} ${halfstep} ${pulse}
  STDERR "has no second horizontal component; nothing is written")
travik_plot_test(RotdRefusedMotionIsSkipped EXIT 1
  ARGS rotd --format auto --periods 0.1,1 --image svg ${knet}.UD ${knet}.EW ${knet}.NS ${knet}.EW
  STDERR "FILE: CHB0031412312349.UD, ERROR: The component CHB0031412312349.UD is vertical (U-D)"
  FILES CHB0031412312349_RotD.svg)
