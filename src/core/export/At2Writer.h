#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/export/ReportFile.h"

namespace travik {

// A scaled record for a structural-analysis program, in the layout of the PEER NGA-West2
// database's .AT2 files: four header lines (title; source file, factor and channel; units;
// "NPTS=  n, DT=  dt SEC"), then the acceleration in g, five values to a line, each in the
// Fortran edit descriptor E15.7 (" -0.1234567E-02").
struct At2Record {
    std::string sourceName;            // the file the record was read from
    std::string channel;               // the component, or empty
    double factor = 1.0;               // the scale factor applied
    double timeStep = 0.01;            // s
    std::vector<double> acceleration;  // g, already multiplied by `factor`
};

// "<stem>_x<factor with 4 decimals>.AT2".
std::string At2FileName(std::string_view stem, double factor);

// One value in E15.7: fifteen characters, a mantissa 0.ddddddd and a two-digit exponent.
// Values too small for two exponent digits are written as zero.
std::string FormatE15_7(double value);

// Writes the header lines and the value lines to `sink`.
void WriteAt2(const ReportLineSink& sink, const At2Record& record);

}  // namespace travik
