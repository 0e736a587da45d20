#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QString>
#include <filesystem>

// Small helpers shared by the program's windows.

// A folder or file name as the file layer wants it, whatever characters it holds.
inline std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

// Number of checked items of a record check list.
inline int CountChecked(const QListWidget* list) {
    int count = 0;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            ++count;
        }
    }
    return count;
}

// Bold label text in the given colour, underlined or not (links and hover feedback).
inline void SetLabelLook(QLabel* label, const QColor& color, bool underlined) {
    QFont font = label->font();
    font.setBold(true);
    font.setUnderline(underlined);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}
