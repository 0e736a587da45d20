#pragma once

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/frame/MainWindow.h"

// A main window over a scripted platform, with a scratch folder, found control by control
// by name. Numbers use the full stop unless a test chooses another locale.
class WindowFixture : public ::testing::Test {
  protected:
    // Controls of the records page, the spectra page and the frame, found by name.
    template <class T = QWidget>
    T* Records(const char* name) const {
        return OnRecords<T>(form.get(), name);
    }
    template <class T = QWidget>
    T* Spectra(const char* name) const {
        return OnSpectra<T>(form.get(), name);
    }
    // A time-history chart of the records page, as it shows now.
    RecordChart Chart(const char* name) const {
        return RecordChart(Records<travik::figures::FigureView>(name));
    }
    template <class T = QObject>
    T* Frame(const char* name) const {
        return Child<T>(form.get(), name);
    }

    // Changes the workspace's settings as an update of the settings window would.
    template <class Change>
    void ChangeSettings(Change change) {
        travik::AnalysisSettings settings = form->Document().Settings();
        change(settings);
        form->Document().SetSettings(settings);
    }

    void SetUp() override {
        QLocale english(QLocale::English, QLocale::UnitedStates);
        english.setNumberOptions(QLocale::OmitGroupSeparator);
        QLocale::setDefault(english);
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<TForm1>(platform);
    }

    void TearDown() override {
        form.reset();
        ProcessDeletions();
        QLocale::setDefault(QLocale::c());
    }

    // Windows closed with delete-on-close go away when the event loop would delete them.
    static void ProcessDeletions() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};
