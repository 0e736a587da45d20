#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"

class QMenu;
class QSettings;
class TForm2;

// One import as File → Recent Records lists it: its files and how they were read.
struct RecentImport {
    std::vector<std::string> paths;
    travik::RecordReadOptions options;
};

// File → Recent Records: the last ten imports, newest first, kept in the settings store.
// Choosing one imports its files again with its reading parameters; an entry whose files
// have gone is shown disabled, its tooltip naming the missing file. Entries the store holds
// that cannot be read are left out.
class RecentRecords final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxEntries = 10;
    using Reimport = std::function<void(const RecentImport&)>;

    RecentRecords(QMenu& fileMenu, QSettings* store, Reimport reimport);

    // Puts this import first (an equal one further down goes).
    void Add(const RecentImport& import);
    std::vector<RecentImport> Entries() const;

  private:
    void Rebuild();

    QMenu* menu_ = nullptr;  // RecentRecords1, "Recent Records"
    QSettings* store_ = nullptr;
    Reimport reimport_;
};

// Starts the import dialog as the last import (the newest entry) left it: its format and
// reading parameters, and the file dialog in the folder of its first file. Nothing changes
// without an entry.
void ShowLastImport(TForm2& dialog, const std::vector<RecentImport>& entries);
