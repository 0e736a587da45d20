#pragma once

#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "app/MainWindow.h"
#include "records/InputFileForm.h"

// A main window over a scripted platform, with a scratch folder for record files. Numbers
// use the full stop unless a test chooses another locale.
class RecordsFixture : public ::testing::Test {
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

    // Writes one record file, one line per entry, and returns its path.
    QString WriteLines(const QString& name, const QStringList& lines) {
        const QString path = QDir(folder.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(QLatin1Char('\n')).toUtf8());
        file.write("\n");
        return path;
    }

    // A record file with one acceleration value (g) per line.
    QString WriteSamples(const QString& name, const std::vector<double>& values) {
        QStringList lines;
        for (double value : values) {
            lines.append(QString::number(value, 'g', 17));
        }
        return WriteLines(name, lines);
    }

    // Opens the import window, lets the test adjust it, presses OK with these files chosen.
    template <class Adjust>
    void Import(const QStringList& files, Adjust adjust) {
        platform.fileAnswers.push_back(files);
        Records<QPushButton>("btn1")->click();
        ASSERT_NE(form->findChild<TForm2*>(), nullptr);
        adjust(*form->findChild<TForm2*>());
        Child<QPushButton>(form->findChild<TForm2*>(), "btn1")->click();
        ProcessDeletions();
    }

    void Import(const QStringList& files, const QString& timeStep = QStringLiteral("0.01")) {
        Import(files,
               [&](TForm2& dialog) { Child<QLineEdit>(&dialog, "edt1")->setText(timeStep); });
    }

    // Windows closed with delete-on-close go away when the event loop would delete them.
    static void ProcessDeletions() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& message : platform.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};
