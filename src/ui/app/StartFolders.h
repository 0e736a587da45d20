#pragma once

#include <QString>

// The folder the file and folder dialogs start in before the user chose one: the user's
// documents folder (the home folder when the platform names none), never the program's.
QString DefaultStartFolder();

// `lastUsed` while it is still a folder, else DefaultStartFolder().
QString StartFolder(const QString& lastUsed);
