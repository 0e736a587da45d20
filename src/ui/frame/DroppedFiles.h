#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/records/FreeFormatReader.h"

class QMimeData;
class QWidget;

// Whether a drag carries files or folders of this machine.
bool HoldsLocalFiles(const QMimeData* data);

// The record files a drop brings, in order: each dropped file, and every record file in a
// dropped folder, by name. `emptyFolder` gets the message for a folder with none.
std::vector<std::string> DroppedRecordFiles(const QMimeData& data,
                                            const travik::FreeFormatParameters& free,
                                            const std::function<void(const QString&)>& emptyFolder);

// Takes every drop of files or folders on a window, wherever on it it lands: on the charts,
// lists and edits too, which would otherwise take the drop themselves or refuse it. Drags
// that carry no local file go on to the controls as before. Goes with the window.
class FileDrops final : public QObject {
  public:
    FileDrops(QWidget& window, std::function<void(const QMimeData&)> dropped);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    std::function<void(const QMimeData&)> dropped_;
    bool watching_ = false;
};
