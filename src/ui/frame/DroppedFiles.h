#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "records/FreeFormatReader.h"

class QMimeData;

// Whether a drag carries files or folders of this machine.
bool HoldsLocalFiles(const QMimeData* data);

// The record files a drop brings, in order: each dropped file, and every record file in a
// dropped folder, by name. `emptyFolder` gets the message for a folder with none.
std::vector<std::string> DroppedRecordFiles(const QMimeData& data,
                                            const travik::FreeFormatParameters& free,
                                            const std::function<void(const QString&)>& emptyFolder);
