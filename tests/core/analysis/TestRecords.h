#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/records/TimeHistory.h"

namespace travik::test {

// A record built from samples (g) without going through the file reader.
inline TimeHistory MakeRecord(const std::vector<double>& samples, double timeStep,
                              const std::string& name = "test.txt") {
    TimeHistory record(name, timeStep);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    return record;
}

// One value per line, as the converted validation records are stored.
inline std::vector<double> LoadColumn(const std::string& fileName) {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/" + fileName);
    std::vector<double> values;
    double value = 0;
    while (in >> value) {
        values.push_back(value);
    }
    return values;
}

// The rows of a comma-separated file with one header line.
inline std::vector<std::vector<std::string>> LoadCsv(const std::string& fileName) {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/" + fileName);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ',')) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace travik::test
