#include "InfoCommand.h"

#include <string>

#include "WorkspaceOptions.h"
#include "core/records/RecordFileReader.h"

namespace travik::cli {
namespace {

// How a workspace prepares record `record` of a file (counted from 1 in the text).
std::string DescribePreparation(const ImportPlan& plan, std::size_t record) {
    const char* baseline = plan.baseline == BaselineCorrectionType::Linear      ? "linear"
                           : plan.baseline == BaselineCorrectionType::Parabolic ? "parabolic"
                                                                                : "none";
    return "  record " + std::to_string(record + 1) + " in the workspace: baseline " + baseline +
           ", filter " + (plan.filter ? plan.filter->Describe() : std::string("none"));
}

}  // namespace

InfoCommand::InfoCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "info",
          "Describe the records of each file: format, channel, samples, time step, "
          "duration, units converted from, PGA (g) and its time")) {
    import_.format = "auto";
    AddReadingOptions(*command_, import_);
    CLI::Option* files = command_->add_option("FILE", import_.files, "Record files");
    AddWorkspaceOption(*command_,
                       {import_.workspacePath, import_.files, import_.gravity, import_.workspace},
                       files);
}

int InfoCommand::Run(std::ostream& out, std::ostream& err) const {
    RecordReadOptions read;
    if (!MakeReadOptions(import_, read, err)) {
        return kExitBadOption;
    }
    const WorkspaceImport* workspace = import_.workspace.get();
    ImportPlan common;
    common.read = read;
    int exitCode = TellWorkspaceNotes(workspace, err) ? kExitFailure : kExitOk;
    for (std::size_t file = 0; file < import_.files.size(); ++file) {
        const std::string& path = import_.files[file];
        const RecordFileResult result =
            ReadRecordFile(path, PlanOfFile(workspace, common, file).read);
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
        if (workspace != nullptr) {
            for (std::size_t record = 0; record < result.records.size(); ++record) {
                out << DescribePreparation(PlanOfRecord(workspace, common, file, record), record)
                    << '\n';
            }
        }
    }
    return exitCode;
}

}  // namespace travik::cli
