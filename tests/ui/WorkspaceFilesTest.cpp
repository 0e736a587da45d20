// File → Save Workspace… and Open Workspace…: a session written and read back through the
// core's workspace file, with its records read again and recomputed.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <cmath>
#include <fstream>
#include <numbers>

#include "RecordsFixture.h"
#include "core/workspace/WorkspaceFile.h"
#include "ui/frame/ProgramArguments.h"
#include "ui/records/FilterDialog.h"

namespace {

using MessageKind = PlatformServices::MessageKind;

class WorkspaceFilesTest : public RecordsFixture {
  protected:
    // A drifting 3 Hz wave, 10 s at 0.01 s, so that a baseline fit and a filter both change it.
    QString Wave(const QString& name, double amplitude) {
        std::vector<double> values;
        for (int i = 0; i < 1000; ++i) {
            const double t = i * 0.01;
            values.push_back(0.002 * t + amplitude * std::sin(2 * std::numbers::pi * 3 * t));
        }
        return WriteSamples(name, values);
    }

    QString PathIn(const QString& name) const { return QDir(folder.path()).filePath(name); }

    void Select(int row) { Records<QListWidget>("lst1")->setCurrentRow(row); }

    void CorrectSelected(const char* radio) {
        Records<QRadioButton>(radio)->setChecked(true);
        Records<QPushButton>("btn4")->click();
    }

    void HighPassSelected() {
        Records<QPushButton>("btnFilter")->click();
        auto* dialog = form->findChild<FilterDialog*>();
        ASSERT_NE(dialog, nullptr);
        Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(2);  // high-pass
        Child<QLineEdit>(dialog, "edtLowCorner")->setText("0.5");
        Child<QSpinBox>(dialog, "spnFilterOrder")->setValue(2);
        Child<QCheckBox>(dialog, "chkAcausal")->setChecked(true);
        Child<QPushButton>(dialog, "btnFilterOk")->click();
        ProcessDeletions();
    }

    void Save(const QString& path) {
        platform.workspaceAnswers.push_back(path);
        Frame<QAction>("SaveWorkspace1")->trigger();
    }

    void Open(const QString& path) {
        platform.workspaceAnswers.push_back(path);
        Frame<QAction>("OpenWorkspace1")->trigger();
        ProcessDeletions();
    }

    // Every record checked on the spectra page exported into a new folder `name`; the
    // reports' bytes by file name.
    std::map<QString, QByteArray> ExportSpectra(const QString& name) {
        const QString out = PathIn(name);
        EXPECT_TRUE(QDir().mkpath(out));
        auto* list = Spectra<QListWidget>("lst3");
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setCheckState(Qt::Checked);
        }
        platform.folderAnswers.push_back(out);
        Spectra<QPushButton>("btn10")->click();
        std::map<QString, QByteArray> reports;
        for (const QString& file : QDir(out).entryList({QStringLiteral("*_RS.csv")})) {
            QFile report(QDir(out).filePath(file));
            EXPECT_TRUE(report.open(QIODevice::ReadOnly));
            reports[file] = report.readAll();
        }
        return reports;
    }

    std::vector<bool> CheckMarks() const {
        std::vector<bool> marks;
        auto* list = Records<QListWidget>("lst1");
        for (int i = 0; i < list->count(); ++i) {
            marks.push_back(list->item(i)->checkState() == Qt::Checked);
        }
        return marks;
    }

    // Two records: the first baseline-corrected (parabolic), the second corrected and
    // high-passed, the second checked; g, the period range, two damping values and the X
    // axis changed from their defaults.
    void BuildSession() {
        Import({Wave("a.txt", 0.1), Wave("b.txt", 0.2)});
        ASSERT_EQ(form->Document().Records().Count(), 2);
        Select(0);
        CorrectSelected("rb2");
        Select(1);
        CorrectSelected("rb1");
        HighPassSelected();
        ChangeSettings([](travik::AnalysisSettings& settings) {
            settings.g = 981.0;
            settings.maxPeriod = 2.5;
        });
        Spectra<QComboBox>("cbb6")->setCurrentIndex(1);
        Spectra<QLineEdit>("edt17")->setText("7.25");
        Spectra<QComboBox>("cbb5")->setCurrentIndex(1);  // frequency
        Records<QListWidget>("lst1")->item(1)->setCheckState(Qt::Checked);
    }

    // Back to a fresh window's state: no records, default settings, damping and axes.
    void ForgetSession() {
        Records<QPushButton>("btn7")->click();
        form->Document().SetSettings(travik::AnalysisSettings{});
        Spectra<QComboBox>("cbb6")->setCurrentIndex(0);
        Spectra<QLineEdit>("edt17")->setText("10");
        Spectra<QComboBox>("cbb5")->setCurrentIndex(0);
        ASSERT_EQ(form->Document().Records().Count(), 0);
    }
};

TEST_F(WorkspaceFilesTest, SavedSessionOpensWithTheSameRecordsSettingsAndReportBytes) {
    BuildSession();
    const std::map<QString, QByteArray> before = ExportSpectra("before");
    ASSERT_EQ(before.size(), 2u);
    // The export checked every record, on every page (one selection): a mix is saved.
    Records<QListWidget>("lst1")->item(0)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(CheckMarks(), (std::vector<bool>{false, true}));
    const QString workspace = PathIn("session.travik");
    Save(workspace);
    ASSERT_TRUE(QFile::exists(workspace));
    ForgetSession();

    platform.messages.clear();
    Open(workspace);
    for (const auto& message : platform.messages) {
        ADD_FAILURE() << message.text.toStdString();
    }
    const travik::RecordList& records = form->Document().Records();
    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(records.At(0).SourceFileName(), "a.txt");
    EXPECT_TRUE(records.At(0).IsCorrected());
    EXPECT_EQ(records.At(0).CorrectionType(), travik::BaselineCorrectionType::Parabolic);
    EXPECT_FALSE(records.At(0).Filter().has_value());
    EXPECT_EQ(records.At(1).CorrectionType(), travik::BaselineCorrectionType::Linear);
    ASSERT_TRUE(records.At(1).Filter().has_value());
    EXPECT_EQ(records.At(1).Filter()->Describe(), "Butterworth high-pass 0.5 Hz, order 2, acausal");
    EXPECT_EQ(CheckMarks(), (std::vector<bool>{false, true}));
    EXPECT_EQ(form->Document().Settings().g, 981.0);
    EXPECT_EQ(form->Document().Settings().maxPeriod, 2.5);
    EXPECT_EQ(Spectra<QComboBox>("cbb6")->currentIndex(), 1);
    EXPECT_EQ(Spectra<QLineEdit>("edt17")->text(), "7.25");
    EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentIndex(), 1);

    const std::map<QString, QByteArray> after = ExportSpectra("after");
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(after.count(name));
        EXPECT_TRUE(after.at(name) == bytes);
    }
    // The corrected series themselves, to the last bit, as a second look.
    EXPECT_EQ(ExportSpectra("again"), after);
}

TEST_F(WorkspaceFilesTest, RecordPathsBelowTheWorkspaceAreStoredRelativeToIt) {
    Import({Wave("a.txt", 0.1)});
    const QString workspace = PathIn("session.travik");
    Save(workspace);
    const travik::WorkspaceReadResult read =
        travik::ReadWorkspaceFile(QFile::encodeName(workspace).toStdString());
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.document->files.size(), 1u);
    EXPECT_EQ(read.document->files[0].path, "a.txt");
    EXPECT_EQ(read.document->files[0].size, QFileInfo(PathIn("a.txt")).size());
    EXPECT_EQ(read.document->files[0].read.free.timeStep, 0.01);
}

TEST_F(WorkspaceFilesTest, AMissingRecordFileIsNamedAndTheRestOpens) {
    Import({Wave("a.txt", 0.1), Wave("gone.txt", 0.2), Wave("c.txt", 0.3)});
    const QString workspace = PathIn("session.travik");
    Save(workspace);
    ASSERT_TRUE(QFile::remove(PathIn("gone.txt")));
    ForgetSession();
    platform.messages.clear();
    Open(workspace);
    const travik::RecordList& records = form->Document().Records();
    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(records.At(0).SourceFileName(), "a.txt");
    EXPECT_EQ(records.At(1).SourceFileName(), "c.txt");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    EXPECT_TRUE(platform.messages[0].text.contains(PathIn("gone.txt")))
        << platform.messages[0].text.toStdString();
}

TEST_F(WorkspaceFilesTest, ARefusedWorkspaceSaysWhyAndChangesNothing) {
    Import({Wave("a.txt", 0.1)});
    ChangeSettings([](travik::AnalysisSettings& settings) { settings.maxPeriod = 3.0; });
    const std::vector<std::pair<const char*, std::string>> refused = {
        {"not-json.travik", "{ this is not JSON"},
        {"no-marker.travik", R"({"format": "something-else", "version": 1})"},
        {"bad-field.travik",
         R"({"format": "travik-workspace", "version": 1, "damping": [5, 150]})"},
    };
    for (const auto& [name, text] : refused) {
        SCOPED_TRACE(name);
        std::ofstream(PathIn(QString::fromLatin1(name)).toStdString()) << text;
        platform.messages.clear();
        Open(PathIn(QString::fromLatin1(name)));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
        EXPECT_TRUE(platform.messages[0].text.contains(QString::fromLatin1(name)))
            << platform.messages[0].text.toStdString();
        ASSERT_EQ(form->Document().Records().Count(), 1);
        EXPECT_EQ(form->Document().Settings().maxPeriod, 3.0);
    }
    // The field at fault is named.
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("damping")));
}

TEST_F(WorkspaceFilesTest, AWorkspaceThatCannotBeWrittenIsReportedAndNothingIsLost) {
    Import({Wave("a.txt", 0.1)});
    Save(PathIn("no-such-folder/session.travik"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("session.travik")))
        << platform.messages[0].text.toStdString();
    EXPECT_EQ(form->Document().Records().Count(), 1);
}

TEST_F(WorkspaceFilesTest, CtrlSSavesAndTheDialogOpensWhereTheLastWorkspaceWas) {
    EXPECT_EQ(Frame<QAction>("SaveWorkspace1")->shortcut(), QKeySequence(QKeySequence::Save));
    Import({Wave("a.txt", 0.1)});
    Save(PathIn("one.travik"));
    platform.workspaceAnswers.push_back(QString());  // cancelled
    Frame<QAction>("OpenWorkspace1")->trigger();
    ASSERT_EQ(platform.workspaceDialogFolders.size(), 2);
    EXPECT_EQ(platform.workspaceDialogFolders[1], QFileInfo(folder.path()).absoluteFilePath());
    EXPECT_EQ(form->Document().Records().Count(), 1);
}

TEST(ProgramArgumentsTest, FilesAreTheArgumentsThatAreNoOptions) {
    const char* const argv[] = {"travik", "suite.travik", "--verbose", "a b.txt",
                                "--",     "-odd.txt",     "--"};
    EXPECT_EQ(travik::FileArguments(7, argv),
              (std::vector<std::string>{"suite.travik", "a b.txt", "-odd.txt", "--"}));
    const char* const none[] = {"travik"};
    EXPECT_TRUE(travik::FileArguments(1, none).empty());
}

TEST_F(WorkspaceFilesTest, AWorkspaceGivenOnTheCommandLineOpens) {
    Import({Wave("a.txt", 0.1), Wave("b.txt", 0.2)});
    const QString workspace = PathIn("Suite.TRAVIK");
    Save(workspace);
    ForgetSession();
    form->OpenGivenFiles({QFile::encodeName(workspace).toStdString()});
    ASSERT_EQ(form->Document().Records().Count(), 2);
    EXPECT_EQ(form->Document().Records().At(1).SourceFileName(), "b.txt");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(WorkspaceFilesTest, RecordFilesGivenOnTheCommandLineAreImportedByTheirFormat) {
    // A PEER NGA file: its time step comes from its header, not from a typed one.
    const QString peer = WriteLines(
        QStringLiteral("peer.AT2"),
        {QStringLiteral("PEER NGA STRONG MOTION DATABASE RECORD"),
         QStringLiteral("Test record, 1 January 2000, Station, 0"),
         QStringLiteral("ACCELERATION TIME SERIES IN UNITS OF G"),
         QStringLiteral("NPTS=    4, DT=   .0050 SEC"), QStringLiteral("0.1 0.2 -0.1 0.05")});
    const QString plain = Wave("plain.txt", 0.1);
    form->OpenGivenFiles(
        {QFile::encodeName(peer).toStdString(), QFile::encodeName(plain).toStdString()});
    const travik::RecordList& records = form->Document().Records();
    ASSERT_EQ(records.Count(), 2) << (platform.messages.empty()
                                          ? std::string()
                                          : platform.messages[0].text.toStdString());
    EXPECT_EQ(records.At(0).SampleCount(), 4);
    EXPECT_EQ(records.At(0).TimeStep(), 0.005);
    EXPECT_EQ(records.At(1).SampleCount(), 1000);
}

TEST_F(WorkspaceFilesTest, AMissingFileGivenOnTheCommandLineIsNamed) {
    form->OpenGivenFiles({QFile::encodeName(PathIn("nowhere.travik")).toStdString()});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("nowhere.travik")));
    EXPECT_EQ(form->Document().Records().Count(), 0);
}

}  // namespace
