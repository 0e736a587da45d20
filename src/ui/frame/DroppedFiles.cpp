#include "frame/DroppedFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "records/ImportPreview.h"

bool HoldsLocalFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

std::vector<std::string> DroppedRecordFiles(
    const QMimeData& data, const travik::FreeFormatParameters& free,
    const std::function<void(const QString&)>& emptyFolder) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString local = url.toLocalFile();
        const std::string path = QFile::encodeName(local).toStdString();
        if (!QFileInfo(local).isDir()) {
            paths.push_back(path);
            continue;
        }
        const std::vector<std::string> inFolder = travik::RecordFilesInFolder(path, free);
        if (inFolder.empty()) {
            emptyFolder(QString::fromStdString(travik::NoRecordFilesMessage(path)));
        }
        paths.insert(paths.end(), inFolder.begin(), inFolder.end());
    }
    return paths;
}
