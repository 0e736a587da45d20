# Record file formats on the command line: reports of named-format files equal those of
# their one-column conversions, `info`, --format and --dt, and the refusals.
set(FORMATS_IN ${TRAVIK_CLI_TEST_DIR}/formats/input)
set(SAMPLES ${PROJECT_SOURCE_DIR}/data)

function(travik_same_report_case name)
  cmake_parse_arguments(ARG "" "REPORT_A;REPORT_B" "ARGS_A;ARGS_B" ${ARGN})
  string(REPLACE ";" "|" argsA "${ARG_ARGS_A}")
  string(REPLACE ";" "|" argsB "${ARG_ARGS_B}")
  add_test(NAME cli.formats.${name}
           COMMAND ${CMAKE_COMMAND}
                   -DCLI=$<TARGET_FILE:travik-cli>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/formats/${name}
                   -DARGS_A=${argsA} -DARGS_B=${argsB}
                   -DREPORT_A=${ARG_REPORT_A} -DREPORT_B=${ARG_REPORT_B}
                   -P ${TRAVIK_CLI_TEST_DIR}/formats/same_report.cmake)
endfunction()

travik_same_report_case(At2ReadsAsItsConversion
  ARGS_A records --format auto --baseline linear --out out
         ${SAMPLES}/formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2
  REPORT_A out/RSN6_IMPVALL.I_I-ELC180-hor1_TH.csv
  ARGS_B records --dt 0.01 --baseline linear --out out ${SAMPLES}/elcentro-1940-rsn6-180.txt
  REPORT_B out/elcentro-1940-rsn6-180_TH.csv)

travik_same_report_case(SmcSpectraEqualThoseOfItsConversion
  ARGS_A spectra --format smc --out out ${SAMPLES}/formats/smc/A-CAT180.AT2.smc
  REPORT_A out/A-CAT180.AT2_RS.csv
  ARGS_B spectra --dt 0.02 --out out ${SAMPLES}/boore-whittier-cat-180.txt
  REPORT_B out/boore-whittier-cat-180_RS.csv)

# (In the STDERR patterns a "." stands for each ";", which CMake would take as a list
# separator.)

# The info lines hold the values the sources publish (data/README.md, data/formats/README.md).
travik_records_case(InfoDescribesAnAt2Record
  ARGS info ${SAMPLES}/formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2
  EXIT 0
  STDOUT "RSN6_IMPVALL.I_I-ELC180-hor1.AT2|  file:                 RSN6_IMPVALL.I_I-ELC180-hor1.AT2|  format:               PEER NGA AT2|  channel:              180|  samples:              5372|  time step:            0.01 s|  duration:             53.71 s|  units converted from: g|  PGA:                  -0.2807955 g at 2.18 s")

travik_records_case(InfoGoesOnAfterAFileItCannotRead
  ARGS info ${FORMATS_IN}/truncated.AT2 ${SAMPLES}/formats/knet/CHB0031412312349.EW
  EXIT 1
  STDOUT "CHB0031412312349.EW|  file:                 CHB0031412312349.EW|  format:               K-NET/KiK-net ASCII|  channel:              E-W|  samples:              6000|  time step:            0.01 s|  duration:             59.99 s|  units converted from: counts (x 7845(gal)/8223790, mean removed)|  PGA:                  -0.00815818732338877 g at 16.23 s"
  STDERR "FILE: truncated\\.AT2\\. ERROR Line: 5\\. ERROR: PEER NGA AT2: the header announces 7 values. the file ends after 5")

travik_records_case(NamedFormatRefusesAFileOfAnother
  ARGS records --format peer --out out ${SAMPLES}/formats/smc/A-CAT090.AT2.smc
  EXIT 1
  STDERR "FILE: A-CAT090\\.AT2\\.smc\\. ERROR Line: 3\\. ERROR: no PEER NGA AT2 header was found \\(the record is not an acceleration time series: \"\\*\"\\). the file looks like USGS SMC: choose Automatic to have each file's format recognised"
  ABSENT "out/A-CAT090.AT2_TH.csv")

travik_records_case(TruncatedFileWritesNothing
  ARGS records --format auto --out out ${FORMATS_IN}/truncated.AT2
  EXIT 1
  STDERR "FILE: truncated\\.AT2\\. ERROR Line: 5\\. ERROR: PEER NGA AT2: the header announces 7 values. the file ends after 5"
  ABSENT "out/truncated_TH.csv")

travik_records_case(MoreValuesThanAnnouncedAreCutWithAWarning
  ARGS records --format auto --out out ${FORMATS_IN}/extra.AT2
  EXIT 0 STDOUT "out/extra_TH.csv"
  STDERR "FILE: extra\\.AT2\\. Line: 5\\. WARNING: the header announces 4 values but holds 6. the first 4 are read")

travik_records_case(DtOverridesTheHeaderWithAWarning
  ARGS records --format peer --dt 0.02 --out out ${SAMPLES}/formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2
  EXIT 0 STDOUT "out/RSN6_IMPVALL.I_I-ELC180-hor1_TH.csv"
  STDERR "FILE: RSN6_IMPVALL\\.I_I-ELC180-hor1\\.AT2, WARNING: RSN6_IMPVALL\\.I_I-ELC180-hor1\\.AT2: the time step 0\\.01 s of the file is replaced by 0\\.02 s")

travik_records_case(RejectsANonPositiveOverridingDt
  ARGS records --format peer --dt 0 --out out ${SAMPLES}/formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2
  EXIT 2 STDERR "--dt: the time step must be greater than zero")

travik_records_case(RejectsAnUnknownFormat
  ARGS records --format at2 --out out ${RECORDS_IN}/five.txt
  EXIT 2 STDERR "--format: at2 not in {auto,free,peer,csmip,smc,knet,cosmos,bbp}\nRun with --help for more information\\.")

travik_records_case(AutoFallsBackToFreeFormat
  ARGS records --format auto --out out ${RECORDS_IN}/five.txt
  EXIT 0 STDOUT "out/five_TH.csv"
  COMPARE "out/five_TH.csv=${RECORDS_EXPECTED}/five_none_TH.csv")
