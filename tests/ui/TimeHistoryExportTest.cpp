#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>

#include "RecordsFixture.h"

namespace {

class TimeHistoryExport : public RecordsFixture {
  protected:
    void ImportRecords(int count) {
        QStringList files;
        for (int i = 1; i <= count; ++i) {
            files.append(WriteSamples(QStringLiteral("rec%1.txt").arg(i), {0.1 * i, -0.05}));
        }
        Import(files);
    }

    void Check(QListWidget* list, std::initializer_list<int> rows) {
        for (int row : rows) {
            list->item(row)->setCheckState(Qt::Checked);
        }
    }

    QString OutputFolder() {
        const QString path = QDir(folder.path()).filePath("out");
        QDir().mkpath(path);
        return path;
    }

    QStringList Written() const {
        return QDir(QDir(folder.path()).filePath("out")).entryList(QDir::Files, QDir::Name);
    }

    QStringList ReadLines(const QString& name) const {
        QFile file(QDir(QDir(folder.path()).filePath("out")).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        EXPECT_EQ(lines.takeLast(), "");  // every line ends with CR LF
        return lines;
    }

    void ExpectOnlyMessage(PlatformServices::MessageKind kind, const QString& text) const {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].kind, kind);
        EXPECT_EQ(platform.messages[0].text, text);
    }
};

TEST_F(TimeHistoryExport, NothingCheckedIsRefusedBeforeAnyFolderIsAsked) {
    ImportRecords(2);
    Check(Spectra<QListWidget>("lst3"), {0, 1});  // checked on another page: checked here too
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "2");
    Frame<QAction>("InvertCheck1")->trigger();  // "Check None"
    Records<QPushButton>("btn3")->click();
    ExpectOnlyMessage(PlatformServices::MessageKind::Information,
                      "Check the Time History Record first!");
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
}

TEST_F(TimeHistoryExport, NineCheckedRecordsExceedTheLimit) {
    ImportRecords(9);
    Frame<QAction>("CheckAll1")->trigger();
    platform.folderAnswers.push_back(OutputFolder());
    Records<QPushButton>("btn3")->click();
    ExpectOnlyMessage(PlatformServices::MessageKind::Information,
                      "INFORMATION: Maximum Export Number ( 8 ) was exceeded !");
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
    EXPECT_TRUE(Written().isEmpty());
}

TEST_F(TimeHistoryExport, EightCheckedRecordsAreWrittenOneFileEach) {
    ImportRecords(9);
    Frame<QAction>("CheckAll1")->trigger();
    Records<QListWidget>("lst1")->item(4)->setCheckState(Qt::Unchecked);
    platform.folderAnswers.push_back(OutputFolder());
    Records<QPushButton>("btn3")->click();
    ExpectOnlyMessage(PlatformServices::MessageKind::Information, "Done!");
    EXPECT_EQ(Written(), (QStringList{"rec1_TH.csv", "rec2_TH.csv", "rec3_TH.csv", "rec4_TH.csv",
                                      "rec6_TH.csv", "rec7_TH.csv", "rec8_TH.csv", "rec9_TH.csv"}));
}

TEST_F(TimeHistoryExport, CancellingTheFolderDialogWritesNothingAndSaysNothing) {
    ImportRecords(1);
    Check(Records<QListWidget>("lst1"), {0});
    Records<QPushButton>("btn3")->click();
    EXPECT_EQ(platform.folderDialogFolders.size(), 1);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(Written().isEmpty());
}

TEST_F(TimeHistoryExport, AnUncorrectedRecordIsWrittenWithPlaceholders) {
    Import({WriteSamples("quake.acc", {0.1, 0.3, -0.2})}, QStringLiteral("0.02"));
    Check(Records<QListWidget>("lst1"), {0});
    platform.folderAnswers.push_back(OutputFolder());
    Records<QPushButton>("btn3")->click();
    ExpectOnlyMessage(PlatformServices::MessageKind::Information, "Done!");
    const QStringList lines = ReadLines("quake_TH.csv");
    ASSERT_EQ(lines.size(), 7 + 1 + 3);
    EXPECT_EQ(lines.at(6), "Baseline Correction Type: No Baseline Correction");
    EXPECT_EQ(lines.at(7),
              "No.,Time[sec],Acceleration[g],Corrected Acc.[g],Velocity[cm/sec],"
              "Corrected Vel.[cm/sec],Displacement[cm],Corrected Disp.[cm]");
    // Worked by hand with g = 980 and dt = 0.02: velocity by the trapezoidal rule,
    // displacement exact for a linearly varying acceleration:
    // v1 = 19.6 * 0.2 = 3.92, d1 = 0.392 * (2 * 0.1 + 0.3) / 6 = 0.03266667,
    // v2 = 3.92 + 19.6 * 0.05 = 4.9, d2 = d1 + 3.92 * 0.02 + 0.392 * (0.6 - 0.2) / 6 = 0.1372.
    EXPECT_EQ(lines.at(8), "1,0.00000,0.10000000,--,0.00000000,--,0.00000000,--");
    EXPECT_EQ(lines.at(9), "2,0.02000,0.30000000,--,3.92000000,--,0.03266667,--");
    EXPECT_EQ(lines.at(10), "3,0.04000,-0.20000000,--,4.90000000,--,0.13720000,--");
}

TEST_F(TimeHistoryExport, ACorrectedRecordIsWrittenWithItsCorrectedSeries) {
    Import({WriteSamples("drift.txt", {0.01, 0.03, 0.05, 0.04, 0.08, 0.06})});
    Records<QRadioButton>("rb2")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    Check(Records<QListWidget>("lst1"), {0});
    platform.folderAnswers.push_back(OutputFolder());
    Records<QPushButton>("btn3")->click();
    const QStringList lines = ReadLines("drift_TH.csv");
    ASSERT_EQ(lines.size(), 7 + 1 + 6);
    EXPECT_EQ(lines.at(6), "Baseline Correction Type: Parabolic");
    for (int i = 8; i < lines.size(); ++i) {
        EXPECT_FALSE(lines.at(i).contains("--")) << lines.at(i).toStdString();
        EXPECT_EQ(lines.at(i).split(',').size(), 8);
    }
}

TEST_F(TimeHistoryExport, AFolderThatNoLongerExistsGivesTheErrorAndNoDone) {
    ImportRecords(2);
    Check(Records<QListWidget>("lst1"), {0, 1});
    const QString gone = QDir(folder.path()).filePath("gone");
    QDir().mkpath(gone);
    platform.folderAnswers.push_back(gone);
    QDir(gone).removeRecursively();
    Records<QPushButton>("btn3")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, PlatformServices::MessageKind::Warning);
    EXPECT_FALSE(platform.messages[0].text.isEmpty());
    EXPECT_NE(platform.messages[0].text, "Done!");
    EXPECT_FALSE(QDir(gone).exists());
}

TEST_F(TimeHistoryExport, TheNextExportStartsInTheFolderChosenLast) {
    ImportRecords(1);
    Check(Records<QListWidget>("lst1"), {0});
    const QString out = OutputFolder();
    platform.folderAnswers.push_back(out);
    Records<QPushButton>("btn3")->click();
    Records<QPushButton>("btn3")->click();
    ASSERT_EQ(platform.folderDialogFolders.size(), 2);
    EXPECT_EQ(platform.folderDialogFolders.at(1), out);
}

}  // namespace
