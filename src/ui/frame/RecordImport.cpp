#include "ui/frame/RecordImport.h"

#include <QFile>
#include <iterator>
#include <memory>
#include <utility>

#include "core/records/RecordPreparation.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/Workspace.h"

namespace {

struct Imported {
    travik::RecordList records;
    RecordSources sources;              // one per record
    std::vector<std::string> messages;  // reader warnings and the failure, in order
};

}  // namespace

void StartRecordImport(Workspace& workspace, PlatformServices& platform, QWidget* window,
                       std::vector<std::string> paths, const travik::RecordReadOptions& options,
                       bool append) {
    const double g = workspace.Settings().g;
    workspace.Work().Start<Imported>(
        QStringLiteral("Reading the records"),
        [paths = std::move(paths), options, g](BackgroundWork::Control& control) {
            Imported imported;
            travik::ImportPlan plan;  // read and integrated; corrected later on the page
            plan.read = options;
            plan.gravity = g;
            for (std::size_t i = 0; i < paths.size() && !control.Cancelled(); ++i) {
                travik::FileReading reading =
                    travik::ReadRecordFileInto(plan, paths[i], imported.records);
                imported.sources.resize(static_cast<std::size_t>(imported.records.Count()),
                                        std::make_shared<RecordSource>(paths[i], options));
                std::move(reading.messages.begin(), reading.messages.end(),
                          std::back_inserter(imported.messages));
                if (!reading.ok) {
                    break;
                }
                control.Progress(static_cast<double>(i + 1) / static_cast<double>(paths.size()));
            }
            return imported;
        },
        [&workspace, &platform, window, append](Imported&& imported) {
            workspace.AcceptImport(std::move(imported.records), std::move(imported.sources),
                                   append);
            for (const std::string& message : imported.messages) {
                platform.ShowMessage(window, PlatformServices::MessageKind::Warning,
                                     QString::fromStdString(message));
            }
        });
}

std::vector<std::string> LocalPaths(const QStringList& files) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        paths.push_back(QFile::encodeName(file).toStdString());
    }
    return paths;
}

QStringList FileNames(const std::vector<std::string>& paths) {
    QStringList files;
    for (const std::string& path : paths) {
        files.append(QFile::decodeName(QByteArray::fromStdString(path)));
    }
    return files;
}
