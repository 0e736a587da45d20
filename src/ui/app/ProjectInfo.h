#pragma once

#include <QUrl>

// The project's web page, shown in the status bar and in the about window.
inline QUrl ProjectWebAddress() {
    return QUrl(QStringLiteral("https://travik.example.org"));
}
