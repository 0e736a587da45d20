#include "InfoCommand.h"

#include <string>

#include "records/RecordFileReader.h"

namespace travik::cli {

InfoCommand::InfoCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "info",
          "Describe the records of each file: format, channel, samples, time step, "
          "duration, units converted from, PGA (g) and its time")) {
    import_.format = "auto";
    AddReadingOptions(*command_, import_);
    command_->add_option("FILE", import_.files, "Record files")->required();
}

int InfoCommand::Run(std::ostream& out, std::ostream& err) const {
    RecordReadOptions read;
    if (!MakeReadOptions(import_, read, err)) {
        return kExitBadOption;
    }
    int exitCode = kExitOk;
    for (const std::string& path : import_.files) {
        const RecordFileResult result = ReadRecordFile(path, read);
        for (const std::string& warning : result.warnings) {
            err << warning << '\n';
        }
        if (!result.ok()) {
            err << result.message << '\n';
            exitCode = kExitFailure;
            continue;
        }
        for (const std::string& line : DescribeRecordFile(result)) {
            out << line << '\n';
        }
    }
    return exitCode;
}

}  // namespace travik::cli
