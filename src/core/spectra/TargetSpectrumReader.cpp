#include "spectra/TargetSpectrumReader.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "text/NumberFormat.h"
#include "text/NumberParse.h"

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

}  // namespace

TargetSpectrum ParseTargetSpectrum(std::string_view text, const std::string& fileName) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    TargetSpectrum target;
    target.name = fileName;
    int lineNumber = 0;
    int previousLine = 0;
    std::size_t position = 0;
    while (position <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(position, end - position);
        ++lineNumber;
        // A CR LF pair ends one line.
        position =
            end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);

        line = TrimControlAndBlanks(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() != 2) {
            throw TargetSpectrumError(At(fileName, lineNumber) +
                                      "expected two numbers, a period in s and Sa in g, but "
                                      "found \"" +
                                      std::string(line) + "\"");
        }
        double values[2];
        for (std::size_t f = 0; f < 2; ++f) {
            const std::optional<double> value = TryParseNumber(fields[f], '.');
            if (!value) {
                throw TargetSpectrumError(At(fileName, lineNumber) + "\"" + std::string(fields[f]) +
                                          "\" is not a number");
            }
            values[f] = *value;
        }
        if (values[0] < 0 || values[1] < 0) {
            throw TargetSpectrumError(At(fileName, lineNumber) +
                                      "periods and spectral accelerations cannot be negative");
        }
        if (!target.periods.empty() && !(values[0] > target.periods.back())) {
            throw TargetSpectrumError(
                At(fileName, lineNumber) + "the period " + FormatGeneral(values[0]) +
                " s is not greater than the period " + FormatGeneral(target.periods.back()) +
                " s of line " + FormatInteger(previousLine) +
                "; periods must be in ascending order");
        }
        target.periods.push_back(values[0]);
        target.sa.push_back(values[1]);
        previousLine = lineNumber;
    }
    if (target.periods.empty()) {
        throw TargetSpectrumError(fileName + ": no period and Sa pairs found");
    }
    if (target.periods.size() == 1) {
        throw TargetSpectrumError(At(fileName, previousLine) +
                                  "only one period and Sa pair; a target spectrum needs at "
                                  "least two");
    }
    return target;
}

TargetSpectrum ReadTargetSpectrumFile(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw TargetSpectrumError(path.string() + ": cannot open the file");
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        throw TargetSpectrumError(path.string() + ": cannot read the file");
    }
    return ParseTargetSpectrum(contents.str(), name);
}

}  // namespace travik
