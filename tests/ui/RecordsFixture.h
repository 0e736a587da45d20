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

#include "WindowFixture.h"
#include "ui/records/InputFileForm.h"

// The main window with helpers that write record files and import them as a user would.
class RecordsFixture : public WindowFixture {
  protected:
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

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& message : platform.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
};
