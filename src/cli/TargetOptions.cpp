#include "TargetOptions.h"

#include <vector>

#include "ImportOptions.h"
#include "core/spectra/TargetSpectrumReader.h"
#include "core/text/NumberParse.h"

namespace travik::cli {
namespace {

std::optional<double> Number(const std::string& text) {
    return TryParseNumber(text, kCommandLineDecimalPoint);
}

TargetChoice Refuse(int exitCode, std::string message) {
    TargetChoice choice;
    choice.exitCode = exitCode;
    choice.message = std::move(message);
    return choice;
}

TargetChoice AsceTarget(const std::string& text) {
    const std::vector<std::string> parts = SplitAtCommas(text);
    const std::optional<double> sds = parts.size() == 3 ? Number(parts[0]) : std::nullopt;
    const std::optional<double> sd1 = parts.size() == 3 ? Number(parts[1]) : std::nullopt;
    const std::optional<double> tl = parts.size() == 3 ? Number(parts[2]) : std::nullopt;
    if (!sds || !sd1 || !tl) {
        return Refuse(kExitBadOption, "--asce takes S_DS,S_D1,T_L, e.g. 1.0,0.6,8");
    }
    ScalingTarget target;
    target.kind = ScalingTarget::Kind::Asce;
    target.asce = {*sds, *sd1, *tl};
    if (const std::string problem = target.asce.Check(); !problem.empty()) {
        return Refuse(kExitBadOption, "--asce: " + problem);
    }
    return {target, kExitOk, {}};
}

TargetChoice EurocodeTarget(const std::string& text) {
    const std::vector<std::string> parts = SplitAtCommas(text);
    ScalingTarget target;
    target.kind = ScalingTarget::Kind::Eurocode;
    EurocodeElasticParameters& p = target.eurocode;
    bool ok = (parts.size() == 3 || parts.size() == 4) && (parts[0] == "1" || parts[0] == "2") &&
              parts[1].size() == 1 && parts[1][0] >= 'A' && parts[1][0] <= 'E';
    if (ok) {
        p.type = parts[0] == "2" ? EurocodeSpectrumType::Type2 : EurocodeSpectrumType::Type1;
        p.ground = static_cast<EurocodeGroundType>(parts[1][0] - 'A');
        const std::optional<double> ag = Number(parts[2]);
        const std::optional<double> xi = parts.size() == 4 ? Number(parts[3]) : 5.0;
        ok = ag && xi;
        if (ok) {
            p.ag = *ag;
            p.dampingPercent = *xi;
        }
    }
    if (!ok) {
        return Refuse(kExitBadOption,
                      "--ec8 takes TYPE,GROUND,AG[,XI]: type 1 or 2, ground A to E, a_g in g, "
                      "damping in percent (5 when left out), e.g. 1,B,0.25");
    }
    if (const std::string problem = p.Check(); !problem.empty()) {
        return Refuse(kExitBadOption, "--ec8: " + problem);
    }
    return {target, kExitOk, {}};
}

}  // namespace

void AddTargetOptions(CLI::App& command, TargetOptions& options) {
    command.add_option("--target", options.file,
                       "Target spectrum file: period (s) and Sa (g) per line");
    command.add_option("--asce", options.asce,
                       "ASCE/SEI 7-22 two-period design spectrum: S_DS,S_D1,T_L (g, g, s)");
    command.add_option("--ec8", options.eurocode,
                       "EN 1998-1 elastic spectrum: TYPE,GROUND,AG[,XI] e.g. 1,B,0.25,5");
}

TargetChoice ReadTargetOptions(const TargetOptions& options) {
    const int given = !options.file.empty() + !options.asce.empty() + !options.eurocode.empty();
    if (given > 1) {
        return Refuse(kExitBadOption, "Give one target: --target, --asce or --ec8");
    }
    if (!options.asce.empty()) {
        return AsceTarget(options.asce);
    }
    if (!options.eurocode.empty()) {
        return EurocodeTarget(options.eurocode);
    }
    if (options.file.empty()) {
        return {};
    }
    ScalingTarget target;
    target.kind = ScalingTarget::Kind::File;
    try {
        target.file = ReadTargetSpectrumFile(options.file);
    } catch (const TargetSpectrumError& error) {
        return Refuse(kExitFailure, error.what());
    }
    return {target, kExitOk, {}};
}

}  // namespace travik::cli
