#include "ui/app/StartFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString DefaultStartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString StartFolder(const QString& lastUsed) {
    return !lastUsed.isEmpty() && QFileInfo(lastUsed).isDir() ? lastUsed : DefaultStartFolder();
}
