#include "ui/frame/RecentRecords.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStringList>

#include "core/workspace/WorkspaceJson.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/StartFolders.h"
#include "ui/records/InputFileForm.h"

namespace {

constexpr const char* kEntriesKey = "recent/imports";

// An entry is kept as a workspace of its files (the same JSON, read with the same checks).
QString EntryText(const RecentImport& import) {
    travik::WorkspaceDocument document;
    for (const std::string& path : import.paths) {
        travik::WorkspaceFileEntry file;
        file.path = path;
        file.read = import.options;
        document.files.push_back(file);
    }
    return QString::fromStdString(travik::WorkspaceToJson(document));
}

std::optional<RecentImport> EntryOf(const QString& text) {
    const travik::WorkspaceReadResult read =
        travik::ParseWorkspaceJson(text.toStdString(), "recent");
    if (!read.ok() || read.document->files.empty()) {
        return std::nullopt;
    }
    RecentImport import;
    import.options = read.document->files.front().read;
    for (const travik::WorkspaceFileEntry& file : read.document->files) {
        import.paths.push_back(file.path);
    }
    return import;
}

QString LocalName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

RecentRecords::RecentRecords(QMenu& fileMenu, QSettings* store, Reimport reimport)
    : QObject(&fileMenu), store_(store), reimport_(std::move(reimport)) {
    menu_ = Named(fileMenu.addMenu(QStringLiteral("Recent Records")), "RecentRecords1");
    menu_->setToolTipsVisible(true);
    // Files come and go while the program runs: the list is checked when it opens.
    connect(menu_, &QMenu::aboutToShow, this, &RecentRecords::Rebuild);
    Rebuild();
}

std::vector<RecentImport> RecentRecords::Entries() const {
    std::vector<RecentImport> entries;
    if (store_ == nullptr) {
        return entries;
    }
    for (const QString& text : store_->value(QString::fromLatin1(kEntriesKey)).toStringList()) {
        if (std::optional<RecentImport> entry = EntryOf(text)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

void RecentRecords::Add(const RecentImport& import) {
    if (store_ == nullptr || import.paths.empty()) {
        return;
    }
    const QString added = EntryText(import);
    QStringList texts{added};
    for (const RecentImport& entry : Entries()) {
        const QString text = EntryText(entry);
        if (text != added && texts.size() < kMaxEntries) {
            texts.append(text);
        }
    }
    store_->setValue(QString::fromLatin1(kEntriesKey), texts);
    store_->sync();
    Rebuild();
}

void RecentRecords::Rebuild() {
    menu_->clear();
    const std::vector<RecentImport> entries = Entries();
    menu_->setEnabled(!entries.empty());
    for (const RecentImport& entry : entries) {
        const QString first = LocalName(entry.paths.front());
        QString text = QFileInfo(first).fileName();
        if (entry.paths.size() > 1) {
            text += QStringLiteral(" and %1 more").arg(entry.paths.size() - 1);
        }
        QAction* action = menu_->addAction(text);
        QStringList missing;
        for (const std::string& path : entry.paths) {
            if (!QFileInfo(LocalName(path)).isFile()) {
                missing.append(LocalName(path));
            }
        }
        action->setEnabled(missing.isEmpty());
        action->setToolTip(
            missing.isEmpty()
                ? first
                : QStringLiteral("Not found: %1").arg(missing.join(QStringLiteral(", "))));
        connect(action, &QAction::triggered, this, [this, entry] { reimport_(entry); });
    }
}

void ShowLastImport(TForm2& dialog, const std::vector<RecentImport>& entries) {
    if (entries.empty()) {
        return;
    }
    dialog.ShowReadOptions(entries.front().options);
    if (!entries.front().paths.empty()) {
        const QString first =
            QFile::decodeName(QByteArray::fromStdString(entries.front().paths.front()));
        dialog.SetInitialFolder(StartFolder(QFileInfo(first).absolutePath()));
    }
}
