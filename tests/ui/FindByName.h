#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QString>
#include <QTabWidget>
#include <QWidget>

#include "app/ChartAdapter.h"
#include "app/StringGrid.h"
#include "records/RecordsPage.h"
#include "spectra/SpectraPage.h"

// Tests reach every control by its objectName, as a user's script would, never through a
// window's fields.

// The object named `name` of type T under `root`; a test failure when there is none.
template <class T = QWidget>
T* Child(const QObject* root, const char* name) {
    T* found = root != nullptr ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (found == nullptr) {
        ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name;
    }
    return found;
}

// A control of the records page or of the spectra page of a main window.
template <class T = QWidget>
T* OnRecords(const QObject* form, const char* name) {
    return Child<T>(form->findChild<RecordsPage*>(), name);
}

template <class T = QWidget>
T* OnSpectra(const QObject* form, const char* name) {
    return Child<T>(form->findChild<SpectraPage*>(), name);
}

// Runs the handler slot `slot` of `window` (a page, the frame or a dialog) as its signal
// would, for handlers whose signal a test cannot raise without a real pointer or keyboard.
template <class... Args>
void RunHandler(QObject* window, const char* slot, Args... args) {
    const bool run = QMetaObject::invokeMethod(window, slot, Qt::DirectConnection, args...);
    EXPECT_TRUE(run) << "no handler " << slot;
}
