// plain-spectra RECORD DT [DAMPINGS]: the yardstick process for timing whole
// `travik-cli spectra` runs. Reads a one-column record (g), computes Sd, Sv, Sa, PSv and PSa
// at the default periods one oscillator at a time for the damping values in percent given
// as one comma-separated argument (by default 5, 10, 15, 20 and 30 %), and writes a
// comma-separated table to standard output.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "PlainSpectrum.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: plain-spectra RECORD DT [DAMPINGS]\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<double> a;
    double value = 0;
    while (in >> value) {
        a.push_back(value);
    }
    const double dt = std::atof(argv[2]);
    std::vector<double> dampings = {0.05, 0.1, 0.15, 0.2, 0.3};
    if (argc == 4) {
        dampings.clear();
        for (const char* text = argv[3]; *text != '\0';) {
            char* end = nullptr;
            dampings.push_back(std::strtod(text, &end) / 100);
            if (end == text || (*end != ',' && *end != '\0')) {
                std::fprintf(stderr, "plain-spectra: bad damping list \"%s\"\n", argv[3]);
                return 2;
            }
            text = *end == ',' ? end + 1 : end;
        }
    }
    std::vector<double> periods;
    for (double t = 0.02; t < 6; t += 0.02) {
        periods.push_back(t);
    }
    const double g = 980;
    std::vector<std::vector<travik::bench::PlainPeaks>> table(periods.size());
    for (const double zeta : dampings) {
        for (std::size_t k = 0; k < periods.size(); ++k) {
            table[k].push_back(
                travik::bench::PlainOscillatorPeaks(a, dt, g, 0.02, zeta, periods[k]));
        }
    }
    for (std::size_t k = 0; k < periods.size(); ++k) {
        const double w = 6.2831852 / periods[k];
        std::printf("%.6f,", periods[k]);
        for (const auto& p : table[k]) {
            std::printf("%.6f,%.6f,%.6f,%.6f,%.6f,", p.sd, p.sv, p.sa, w * p.sd, w * w * p.sd / g);
        }
        std::printf("\n");
    }
    return 0;
}
