#pragma once

#include <QAbstractItemView>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QString>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "core/records/TimeHistory.h"

// Small helpers shared by the program's windows.

// Gives a new control the name tests and the program find it by.
template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The decimal separator of the user's number format, for every number text on screen; the
// full stop where the format's separator is not one ASCII character.
inline char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

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

// The colour of counters, readouts and hovered links.
inline const QColor kCounterColor(255, 0, 255);

// A read-only counter edit showing "0" in the counter colour.
inline QLineEdit* MakeCounter(const char* name) {
    auto* edit = Named(new QLineEdit(QStringLiteral("0")), name);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, kCounterColor);
    edit->setPalette(palette);
    return edit;
}

// What the check-list menu does to every item of a list.
enum class CheckChange { CheckAll, CheckNone, Invert };

// Lists every record by its file name, unchecked, without change signals.
inline void FillRecordCheckList(QListWidget* list, const travik::RecordList& records) {
    const QSignalBlocker blocker(list);
    list->clear();
    // Names of one station or event often differ only at their end: keep both ends in view.
    list->setTextElideMode(Qt::ElideMiddle);
    for (int i = 0; i < records.Count(); ++i) {
        const QString name = QString::fromStdString(records.At(i).SourceFileName());
        auto* item = new QListWidgetItem(name);
        item->setToolTip(name);  // the whole name where the column cuts it off
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        list->addItem(item);
    }
}

// Lists the records' names in a record selector, each with its whole name as tooltip, and
// opens the drop-down list as wide as its longest entry (the box itself may be narrower).
inline void FillRecordSelector(QComboBox* box, const travik::RecordList& records) {
    const QSignalBlocker blocker(box);
    box->clear();
    box->view()->setTextElideMode(Qt::ElideMiddle);
    int widest = 0;
    for (int i = 0; i < records.Count(); ++i) {
        const QString name = QString::fromStdString(records.At(i).SourceFileName());
        box->addItem(name);
        box->setItemData(i, name, Qt::ToolTipRole);
        widest = std::max(widest, box->view()->fontMetrics().horizontalAdvance(name));
    }
    const int frame =
        2 * box->view()->frameWidth() + 24 + box->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    box->view()->setMinimumWidth(widest + frame);
}
