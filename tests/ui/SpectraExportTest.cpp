// "Export Checked" on the spectra page.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <cmath>
#include <filesystem>

#include "SpectraFixture.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/SpectraReport.h"

namespace {

using MessageKind = PlatformServices::MessageKind;

class SpectraExportTest : public SpectraFixture {
  protected:
    void LoadShortRecords(int count) {
        std::vector<std::unique_ptr<travik::TimeHistory>> records;
        for (int i = 0; i < count; ++i) {
            records.push_back(ShortRecord("rec" + std::to_string(i) + ".txt"));
        }
        Load(std::move(records));
    }

    void Check(std::initializer_list<int> items) {
        for (int item : items) {
            Spectra<QListWidget>("lst3")->item(item)->setCheckState(Qt::Checked);
        }
    }

    QStringList ReportsWritten() const {
        return QDir(folder.path()).entryList({QStringLiteral("*_RS.csv")}, QDir::Files, QDir::Name);
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    // The report the core builds for these values, as a file would hold it.
    static QByteArray ExpectedReport(const travik::TimeHistory& record,
                                     const std::vector<double>& dampingRatios,
                                     const std::vector<double>& periods) {
        travik::ReportLines lines;
        travik::BuildSpectraReport(lines, record, travik::AnalysisSettings{}, dampingRatios,
                                   periods, travik::kSoftwareEdition, travik::TodayLocalDate(),
                                   [](const std::string&) {});
        QByteArray text;
        for (const std::string& line : lines) {
            text += QByteArray::fromStdString(line) + "\r\n";
        }
        return text;
    }
};

TEST_F(SpectraExportTest, NothingCheckedIsRefused) {
    LoadShortRecords(2);
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(platform.messages[0].text, "Check the Time History Record first!");
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
}

TEST_F(SpectraExportTest, MoreThanEightCheckedAreRefusedAndEightAreWritten) {
    LoadShortRecords(9);
    Check({0, 1, 2, 3, 4, 5, 6, 7, 8});
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(platform.messages[0].text, "INFORMATION: Maximum Export Number ( 8 ) was exceeded!");
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
    EXPECT_TRUE(ReportsWritten().isEmpty());

    Spectra<QListWidget>("lst3")->item(4)->setCheckState(Qt::Unchecked);
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "Done!");
    const QStringList written = ReportsWritten();
    EXPECT_EQ(written.size(), 8);
    EXPECT_FALSE(written.contains("rec4_RS.csv"));
    EXPECT_TRUE(written.contains("rec8_RS.csv"));
}

TEST_F(SpectraExportTest, ABadDampingValueOrACancelWritesNothing) {
    LoadShortRecords(1);
    Check({0});
    SetDamping({"5", "x5"});
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(platform.messages[0].text, "\"x5\" is not a valid floating number!");
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
    EXPECT_TRUE(form->Document().Spectra().dampingRatios.empty());

    platform.folderAnswers.clear();  // the dialog is cancelled
    SetDamping({"10", "5", "10"});
    Spectra<QPushButton>("btn10")->click();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.folderDialogFolders.size(), 1);
    EXPECT_TRUE(ReportsWritten().isEmpty());
    // An export computes its own spectra: the shown ones (none here) stay as they were.
    EXPECT_TRUE(form->Document().Spectra().dampingRatios.empty());
    EXPECT_TRUE(form->Document().Spectra().periods.empty());
}

// Reports of several records are announced by their total work, as an analysis is: a
// declined export asks for no folder and writes nothing.
TEST_F(SpectraExportTest, ALongExportIsAnnouncedAndMayBeDeclined) {
    LoadShortRecords(4);
    Check({0, 1, 3});
    SetDamping({"5"});
    // Each record needs trunc(dt / (T ratio) + 1) sub-steps per sample at each period (runs
    // of more than a million are refused and take none); with a ratio of 1e-7 the three
    // checked records pass 10^10 steps together.
    ChangeSettings([](travik::AnalysisSettings& s) { s.maxDtOverT = 1e-7; });
    const travik::TimeHistory& record = form->Document().Records().At(0);
    const std::vector<double> periods = travik::BuildPeriodList(0.02, 6, 0.02);
    double steps = 0;
    for (std::size_t k = 1; k < periods.size(); ++k) {
        const double subSteps = std::trunc(record.TimeStep() / (periods[k] * 1e-7) + 1);
        steps += subSteps <= 1e6 ? subSteps * record.SampleCount() : 0.0;
    }
    ASSERT_LT(2 * steps, 1e10) << "two records stay below the announcement";
    ASSERT_GT(3 * steps, 1e10);

    platform.confirmAnswers.push_back(false);
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_TRUE(platform.questions[0].startsWith("This analysis takes about "))
        << platform.questions[0].toStdString();
    EXPECT_TRUE(platform.folderDialogFolders.isEmpty());
    EXPECT_TRUE(ReportsWritten().isEmpty());
}

TEST_F(SpectraExportTest, AFolderThatNoLongerExistsIsReportedWithoutDone) {
    LoadShortRecords(2);
    Check({0, 1});
    const QString gone = QDir(folder.path()).filePath("gone");
    platform.folderAnswers.push_back(gone);
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    // The warning is the error's own text, as writing there directly gives it.
    try {
        travik::WriteReport(std::filesystem::path(gone.toStdString()) / "rec0_RS.csv", {"x"});
        ADD_FAILURE() << "writing into a missing folder succeeded";
    } catch (const travik::ReportWriteError& error) {
        EXPECT_EQ(platform.messages[0].text.toStdString(), error.what());
    }
    EXPECT_FALSE(QFileInfo::exists(gone));
}

TEST_F(SpectraExportTest, TheReportIsTheCoreReportOfTheEnteredValues) {
    Load(SampleRecord());
    Check({0});
    SetDamping({"10", "5", "10"});
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Done!");
    const QString path = QDir(folder.path()).filePath("elcentro-1940-chopra-ns_RS.csv");
    const QByteArray written = Contents(path);

    const std::vector<double> periods = travik::BuildPeriodList(0.02, 6.0, 0.02);
    EXPECT_EQ(written, ExpectedReport(form->Document().Records().At(0), {0.05, 0.1}, periods));
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_GE(lines.size(), 10);
    EXPECT_TRUE(lines[7].startsWith("Period[sec],Disp.Damp.=5%,Disp.Damp.=10%,Vel.Damp.=5%,"));
    EXPECT_EQ(lines.size(), 7 + 1 + 301 + 1);  // the last line feed ends the last row

    // The command-line program writes the same file, when it has been built alongside.
    const QString cli =
        QDir(QCoreApplication::applicationDirPath()).filePath("../../src/cli/travik-cli");
    if (!QFileInfo(cli).isExecutable()) {
        GTEST_SKIP() << "travik-cli not built; compared with the core report only";
    }
    QTemporaryDir cliFolder;
    QProcess run;
    run.start(cli, {"spectra", "--dt", "0.02", "--damping", "10,5,10", "--out", cliFolder.path(),
                    QString(TRAVIK_SAMPLE_DATA_DIR) + "/elcentro-1940-chopra-ns.txt"});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_EQ(Contents(QDir(cliFolder.path()).filePath("elcentro-1940-chopra-ns_RS.csv")), written);
}

TEST_F(SpectraExportTest, TheScreenKeepsTheAnalysisWhileTheExportUsesItsOwnLists) {
    LoadShortRecords(1);
    Check({0});
    Spectra<QPushButton>("btn11")->click();
    const travik::SpectraResult before = form->Document().Spectra();
    const QString cell = Spectra<StringGrid>("strngrd3")->Cell(1, 150);
    ASSERT_EQ(CurvePoints(0), 301);

    ChangeSettings([](travik::AnalysisSettings& s) {
        s.minPeriod = 0.5;
        s.maxPeriod = 2.0;
        s.periodStep = 0.5;
    });
    SetDamping({"20", "2", "7"});
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.back().text, "Done!");

    const travik::SpectraResult& after = form->Document().Spectra();
    EXPECT_EQ(after.dampingRatios, (std::vector<double>{0.05}));
    EXPECT_EQ(after.periods, before.periods);
    EXPECT_EQ(after.Columns(travik::SpectrumKind::Displacement),
              before.Columns(travik::SpectrumKind::Displacement));
    EXPECT_EQ(after.Columns(travik::SpectrumKind::PseudoAcceleration),
              before.Columns(travik::SpectrumKind::PseudoAcceleration));
    EXPECT_EQ(Spectra<StringGrid>("strngrd3")->Cell(1, 150), cell);
    EXPECT_EQ(Spectra<StringGrid>("strngrd3")->ColumnCount(), 2);
    EXPECT_EQ(CurvePoints(0), 301);

    // A redraw shows the analysed curves with their own periods and damping title, not
    // the export's lists.
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    EXPECT_EQ(CurvePoints(0), 300);
    EXPECT_EQ(SpectrumFigure().curves.at(0).name, "Damp. 5%");
    EXPECT_EQ(SpectrumFigure().curves.size(), 1u);
    Spectra<QComboBox>("cbb5")->setCurrentIndex(2);
    EXPECT_EQ(CurvePoints(0), 301);
}

}  // namespace
