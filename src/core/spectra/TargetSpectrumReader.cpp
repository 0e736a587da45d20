#include "core/spectra/TargetSpectrumReader.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "core/records/LineSource.h"
#include "core/records/RecordFile.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == '\t' || c == ' ';
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i])) {
            ++i;
        }
        if (i > start) {
            fields.push_back(line.substr(start, i - start));
        }
    }
    return fields;
}

std::string At(const std::string& fileName, int line) {
    return fileName + ", line " + FormatInteger(line) + ": ";
}

// One row's two numbers, checked against the bounds; throws with the line's message.
void AddRow(TargetSpectrum& target, std::string_view line, const std::string& fileName,
            int lineNumber, int& previousLine) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 2) {
        throw TargetSpectrumError(At(fileName, lineNumber) +
                                  "expected two numbers, a period in s and Sa in g, but "
                                  "found \"" +
                                  ShownTextCut(line) + "\"");
    }
    double values[2];
    for (std::size_t f = 0; f < 2; ++f) {
        const std::optional<double> value = TryParseNumber(fields[f], '.');
        if (!value) {
            throw TargetSpectrumError(At(fileName, lineNumber) + "\"" + ShownTextCut(fields[f]) +
                                      "\" is not a number");
        }
        values[f] = *value;
    }
    if (values[0] < 0 || values[1] < 0) {
        throw TargetSpectrumError(At(fileName, lineNumber) +
                                  "periods and spectral accelerations cannot be negative");
    }
    if (values[0] > kLargestTargetPeriod) {
        throw TargetSpectrumError(At(fileName, lineNumber) + "the period " +
                                  FormatGeneral(values[0]) + " s is longer than " +
                                  FormatGeneral(kLargestTargetPeriod) + " s");
    }
    if (values[1] > kLargestTargetSa || (values[1] > 0 && values[1] < kSmallestNonZeroTargetSa)) {
        throw TargetSpectrumError(At(fileName, lineNumber) + "Sa " + FormatGeneral(values[1]) +
                                  " g is outside 0 and " + FormatGeneral(kSmallestNonZeroTargetSa) +
                                  " to " + FormatGeneral(kLargestTargetSa) + " g");
    }
    if (!target.periods.empty() && !(values[0] > target.periods.back())) {
        throw TargetSpectrumError(
            At(fileName, lineNumber) + "the period " + FormatGeneral(values[0]) +
            " s is not greater than the period " + FormatGeneral(target.periods.back()) +
            " s of line " + FormatInteger(previousLine) + "; periods must be in ascending order");
    }
    if (target.periods.size() >= kMaxTargetRows) {
        throw TargetSpectrumError(At(fileName, lineNumber) + "more than " +
                                  FormatInteger(static_cast<long long>(kMaxTargetRows)) +
                                  " period and Sa pairs; this is not a target spectrum");
    }
    target.periods.push_back(values[0]);
    target.sa.push_back(values[1]);
    previousLine = lineNumber;
}

TargetSpectrum ParseLines(LineSource& lines, const std::string& fileName) {
    TargetSpectrum target;
    target.name = fileName;
    int previousLine = 0;
    std::string_view line;
    while (lines.Next(line)) {
        line = TrimControlAndBlanks(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        AddRow(target, line, fileName, static_cast<int>(lines.LineNumber()), previousLine);
    }
    if (lines.Failed()) {
        throw TargetSpectrumError(At(fileName, static_cast<int>(lines.LineNumber()) + 1) +
                                  lines.Error());
    }
    if (target.periods.empty()) {
        throw TargetSpectrumError(fileName + ": no period and Sa pairs found");
    }
    if (target.periods.size() == 1) {
        throw TargetSpectrumError(At(fileName, previousLine) +
                                  "only one period and Sa pair; a target spectrum needs at "
                                  "least two");
    }
    if (std::all_of(target.sa.begin(), target.sa.end(), [](double sa) { return sa == 0; })) {
        throw TargetSpectrumError(fileName +
                                  ": every Sa is 0; a target spectrum needs a value "
                                  "greater than zero");
    }
    return target;
}

}  // namespace

TargetSpectrum ParseTargetSpectrum(std::string_view text, const std::string& fileName) {
    LineSource lines(text);
    return ParseLines(lines, ShownTextCut(fileName, 255));
}

TargetSpectrum ReadTargetSpectrumFile(const std::filesystem::path& path) {
    const std::string name = ShownTextCut(path.filename().string(), 255);
    if (const std::optional<std::string> refusal =
            CheckRecordFileEntry(path.string(), kMaxTargetFileBytes)) {
        throw TargetSpectrumError(*refusal);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        throw TargetSpectrumError(ShownText(path.string()) + ": cannot open the file");
    }
    LineSource lines(file.get());
    return ParseLines(lines, name);
}

}  // namespace travik
