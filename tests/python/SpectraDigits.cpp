// Prints the core's response spectra of one free-format record with every digit, straight
// from the core (no Python in between), for the module's tests:
//   travik-spectra-digits FILE DT DAMPING_PERCENT...
// One line per damping value and period: percent,period,Sd,Sv,Sa,PSv,PSa.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/BatchTables.h"
#include "core/records/FreeFormatReader.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: travik-spectra-digits FILE DT DAMPING_PERCENT...\n";
        return 2;
    }
    travik::FreeFormatParameters parameters;
    parameters.timeStep = std::stod(argv[2]);
    travik::ReadResult read = travik::ReadFreeFormatFile(argv[1], parameters);
    if (!read.ok()) {
        std::cerr << read.message << '\n';
        return 1;
    }
    const travik::AnalysisSettings settings;
    std::vector<double> damping;
    for (int i = 3; i < argc; ++i) {
        damping.push_back(std::stod(argv[i]) / 100.0);
    }
    const std::vector<double> periods = settings.Periods();
    const travik::SpectraResult result =
        travik::ComputeSpectra(*read.record, settings, damping, periods);
    std::cout << travik::SpectraTableRows("-", "", result);
    return 0;
}
