#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/records/TimeHistory.h"

namespace travik::test {

// One value per line (g), from the project's sample records.
inline TimeHistory LoadSampleRecord(const std::string& fileName, double timeStep) {
    std::ifstream in(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + fileName);
    TimeHistory record(fileName, timeStep);
    double value = 0;
    while (in >> value) {
        record.AppendAcceleration(value);
    }
    return record;
}

// The rows of a two-column CSV file with one header line, beside the tests.
inline std::vector<std::pair<std::string, double>> LoadPairs(const std::string& fileName) {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/" + fileName);
    std::vector<std::pair<std::string, double>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::size_t comma = line.find(',');
        rows.emplace_back(line.substr(0, comma), std::stod(line.substr(comma + 1)));
    }
    return rows;
}

inline TimeHistory MakeRecord(const std::vector<double>& samples, double timeStep,
                              const std::string& name = "test.txt") {
    TimeHistory record(name, timeStep);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    return record;
}

}  // namespace travik::test
