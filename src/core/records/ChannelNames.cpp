#include "core/records/ChannelNames.h"

#include <set>

namespace travik {
namespace {

bool IsKept(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '+';
}

// "90 Deg", "360 DEG", "0 deg." as a three-digit azimuth; empty for anything else.
std::string Azimuth(std::string_view orientation) {
    std::size_t digits = 0;
    while (digits < orientation.size() && orientation[digits] >= '0' &&
           orientation[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 3) {
        return {};
    }
    std::string_view rest = orientation.substr(digits);
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    const std::string unit = SafeFileNamePart(rest);
    if (unit != "Deg" && unit != "DEG" && unit != "deg") {
        return {};
    }
    std::string azimuth(orientation.substr(0, digits));
    azimuth.insert(0, 3 - azimuth.size(), '0');
    return azimuth;
}

std::string Stem(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? fileName
                                                                 : fileName.substr(0, dot));
}

}  // namespace

std::string SafeFileNamePart(std::string_view text, std::size_t maxBytes) {
    std::string safe;
    bool pendingGap = false;
    for (const char c : text) {
        if (!IsKept(c)) {
            pendingGap = !safe.empty();
            continue;
        }
        if (pendingGap) {
            safe += '_';
            pendingGap = false;
        }
        safe += c;
        if (safe.size() >= maxBytes) {
            break;
        }
    }
    safe.resize(std::min(safe.size(), maxBytes));
    while (!safe.empty() && safe.back() == '_') {
        safe.pop_back();
    }
    return safe;
}

std::vector<std::string> ChannelRecordNames(std::string_view fileName,
                                            const std::vector<ChannelLabel>& channels) {
    std::vector<std::string> names;
    if (channels.size() == 1) {
        names.emplace_back(fileName);
        return names;
    }
    const std::string stem = Stem(fileName);
    std::set<std::string> used;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const std::string position = std::to_string(i + 1);
        std::string number = SafeFileNamePart(channels[i].number);
        std::string name = stem + "_ch" + (number.empty() ? position : number);
        std::string orientation = Azimuth(channels[i].orientation);
        if (orientation.empty()) {
            orientation = SafeFileNamePart(channels[i].orientation);
        }
        if (!orientation.empty()) {
            name += "_" + orientation;
        }
        while (used.contains(name)) {
            name += "_" + position;
        }
        used.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace travik
