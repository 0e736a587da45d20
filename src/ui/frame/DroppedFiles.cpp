#include "ui/frame/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "core/records/ImportPreview.h"

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

FileDrops::FileDrops(QWidget& window, std::function<void(const QMimeData&)> dropped)
    : QObject(&window), window_(window), dropped_(std::move(dropped)) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
}

// The native window receives a drag before any control does: watched there, a drop is the
// window's wherever it lands. It exists from the window's first show on.
bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::Show && !watching_ && window_.windowHandle() != nullptr) {
            window_.windowHandle()->installEventFilter(this);
            watching_ = true;
        }
        return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!HoldsLocalFiles(drag->mimeData())) {
                return false;
            }
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!HoldsLocalFiles(drop->mimeData())) {
                return false;
            }
            drop->acceptProposedAction();
            dropped_(*drop->mimeData());
            return true;
        }
        default:
            return false;
    }
}
