// "Scale to Target…" on the spectra page: the dialog's refusals, the scaled suite against
// the core's own scaling, copying the table, the report and the scaled records against the
// command line's files, and Cancel.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <cmath>
#include <filesystem>
#include <functional>

#include "SpectraFixture.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/At2Writer.h"
#include "core/export/ScalingReport.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordIntegration.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/SuiteMembers.h"
#include "ui/app/StringGrid.h"
#include "ui/spectra/SpectraPage.h"
#include "ui/suite/ScaleDialog.h"
#include "ui/suite/ScaleToTarget.h"

namespace {

using MessageKind = PlatformServices::MessageKind;

const std::string kScaleInputs = std::string(TRAVIK_CLI_TEST_DIR) + "/scale/input/";
const std::vector<std::string> kStepFiles = {
    std::string(TRAVIK_CLI_TEST_DIR) + "/spectra/input/step.txt", kScaleInputs + "short.txt",
    kScaleInputs + "big.txt"};

class ScaleToTargetTest : public SpectraFixture {
  protected:
    // The command line's step records, read as its free-format reader reads them.
    void LoadStepRecords(int copies = 1) {
        std::vector<std::unique_ptr<travik::TimeHistory>> records;
        for (int copy = 0; copy < copies; ++copy) {
            for (const std::string& path : kStepFiles) {
                travik::ReadResult read = travik::ReadFreeFormatFile(path, {});
                EXPECT_TRUE(read.ok()) << read.message;
                EXPECT_FALSE(travik::IntegrateImportedRecord(*read.record, 980.0).has_value());
                records.push_back(std::move(read.record));
            }
        }
        Load(std::move(records));
    }

    void CheckAll() {
        QListWidget* list = Spectra<QListWidget>("lst3");
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setCheckState(Qt::Checked);
        }
    }

    ScaleToTarget& Command() const { return *Spectra<ScaleToTarget>("ScaleToTarget"); }

    // Runs "Scale to Target…" with the dialog's controls set by `set`, then OK.
    void Scale(const std::function<void(ScaleDialog&)>& set) {
        Command().SetDialogRunner([set](ScaleDialog& dialog) {
            set(dialog);
            Child<QPushButton>(&dialog, "btnScaleOk")->click();
            return dialog.result() == QDialog::Accepted;
        });
        Spectra<QPushButton>("btnScale")->click();
    }

    // An ASCE/SEI 7-22 target S_DS 1, S_D1 0.6, T_L 8 over 0.1 to 2 s, the rule asce7.
    static void AsceSuite(ScaleDialog& dialog) {
        Child<QComboBox>(&dialog, "cbbScaleTarget")->setCurrentIndex(0);
        Child<QLineEdit>(&dialog, "edtScaleSds")->setText(QStringLiteral("1"));
        Child<QLineEdit>(&dialog, "edtScaleSd1")->setText(QStringLiteral("0.6"));
        Child<QLineEdit>(&dialog, "edtScaleTl")->setText(QStringLiteral("8"));
        Child<QLineEdit>(&dialog, "edtScaleDamping")->setText(QStringLiteral("5"));
        Child<QRadioButton>(&dialog, "rbScaleRange")->setChecked(true);
        Child<QLineEdit>(&dialog, "edtScaleTmin")->setText(QStringLiteral("0.1"));
        Child<QLineEdit>(&dialog, "edtScaleTmax")->setText(QStringLiteral("2"));
    }

    // The core's scaling of the loaded records for that target.
    travik::SuiteScaling CoreScaling(const travik::ScalingOptions& options,
                                     double dampingRatio) const {
        const travik::RecordList& list = form->Document().Records();
        std::vector<const travik::TimeHistory*> records;
        for (int i = 0; i < list.Count(); ++i) {
            records.push_back(&list.At(i));
        }
        const travik::AnalysisSettings settings;
        const std::vector<double> periods =
            travik::BuildPeriodList(settings.minPeriod, settings.maxPeriod, settings.periodStep);
        const travik::SuiteSpectra spectra =
            travik::ComputeSuiteSpectra(records, settings, dampingRatio, periods);
        travik::ScalingTarget target;
        target.kind = travik::ScalingTarget::Kind::Asce;
        target.asce = {1.0, 0.6, 8.0};
        return travik::ScaleSuite(periods, travik::SuiteMembersOf(records, spectra), target,
                                  options);
    }

    // Runs the command line in `workingFolder`; its exit status.
    static int RunCli(const QStringList& arguments, const QString& workingFolder) {
        QProcess cli;
        cli.setWorkingDirectory(workingFolder);
        cli.start(QStringLiteral(TRAVIK_CLI), arguments);
        EXPECT_TRUE(cli.waitForFinished(60000));
        return cli.exitCode();
    }

    static QStringList StepFileArguments() {
        QStringList files;
        for (const std::string& path : kStepFiles) {
            files << QString::fromStdString(path);
        }
        return files;
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QString Cell(int column, int row) const {
        return Spectra<StringGrid>("grdScaling")->Cell(column, row);
    }
};

TEST_F(ScaleToTargetTest, NothingCheckedIsRefusedBeforeTheDialog) {
    LoadStepRecords();
    bool asked = false;
    Command().SetDialogRunner([&asked](ScaleDialog&) { return asked = true; });
    Spectra<QPushButton>("btnScale")->click();
    EXPECT_FALSE(asked);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.toStdString(),
              std::string("Check the records to scale on the list first: the suite is made "
                          "of the checked records."));
}

// Every refusal names the field, keeps the dialog open and scales nothing.
TEST_F(ScaleToTargetTest, TheDialogRefusesBadValuesWithTheirField) {
    LoadStepRecords();
    CheckAll();
    struct Case {
        const char* edit;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"edtScaleSds", "1,0", "S_DS: \"1,0\" is not a number"},
        {"edtScaleSds", "0", "ASCE/SEI 7-22 target: S_DS must be greater than zero"},
        {"edtScaleTl", "0.1", "ASCE/SEI 7-22 target: T_L must be greater than T_S = S_D1 / S_DS"},
        {"edtScaleTmin", "", "Tmin: \"\" is not a number"},
        {"edtScaleTmin", "2", "The period range needs Tmin < Tmax: 2 s is not below 2 s"},
        {"edtScaleTmax", "7", "Tmax 7 s lies above the largest analysis period 6 s"},
        {"edtScaleTmin", "0.01", "Tmin 0.01 s lies below the smallest analysis period 0.02 s"},
        {"edtScaleDamping", "100", "Damping of the records: give 0 to less than 100 percent"},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        Scale([&c](ScaleDialog& dialog) {
            AsceSuite(dialog);
            Child<QLineEdit>(&dialog, c.edit)->setText(QString::fromLatin1(c.text));
        });
        ASSERT_EQ(platform.messages.size(), 1u) << c.edit;
        EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(platform.messages[0].text.toStdString(), c.message) << c.edit;
    }
    EXPECT_FALSE(Command().Outcome().has_value());
}

TEST_F(ScaleToTargetTest, TheDialogRefusesLimitsT1AndTargetFiles) {
    LoadStepRecords();
    CheckAll();
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QCheckBox>(&dialog, "chkScaleLimits")->setChecked(true);
        Child<QLineEdit>(&dialog, "edtScaleFmin")->setText(QStringLiteral("3"));
        Child<QLineEdit>(&dialog, "edtScaleFmax")->setText(QStringLiteral("2"));
    });
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QRadioButton>(&dialog, "rbScaleT1")->setChecked(true);
        Child<QLineEdit>(&dialog, "edtScaleT1")->setText(QStringLiteral("4"));
    });
    Scale([](ScaleDialog& dialog) {
        Child<QComboBox>(&dialog, "cbbScaleTarget")->setCurrentIndex(2);
        Child<QLineEdit>(&dialog, "edtScaleTargetFile")->setText(QString());
    });
    Scale([](ScaleDialog& dialog) {
        Child<QComboBox>(&dialog, "cbbScaleTarget")->setCurrentIndex(1);
        Child<QLineEdit>(&dialog, "edtScaleAg")->setText(QStringLiteral("-0.1"));
    });
    ASSERT_EQ(platform.messages.size(), 4u);
    EXPECT_EQ(platform.messages[0].text.toStdString(),
              std::string("The factor limits need fmin <= fmax: 3 > 2"));
    EXPECT_EQ(platform.messages[1].text.toStdString(),
              std::string("T1 gives the range 0.2 T1 to 2 T1: Tmax 8 s lies above the largest "
                          "analysis period 6 s"));
    EXPECT_EQ(platform.messages[2].text.toStdString(),
              std::string("Target file: choose the file of the target spectrum"));
    EXPECT_EQ(platform.messages[3].text.toStdString(),
              std::string("EN 1998-1 target: a_g must be greater than zero"));
    EXPECT_FALSE(Command().Outcome().has_value());
}

// One checked record forms no pair: the RotD measures are offered but not enabled.
TEST_F(ScaleToTargetTest, TheRotDMeasuresWaitForPairs) {
    LoadStepRecords();
    Spectra<QListWidget>("lst3")->item(0)->setCheckState(Qt::Checked);
    Scale([](ScaleDialog& dialog) {
        QComboBox* measure = Child<QComboBox>(&dialog, "cbbScaleMeasure");
        auto* model = qobject_cast<QStandardItemModel*>(measure->model());
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(model->item(0)->isEnabled());
        EXPECT_FALSE(model->item(1)->isEnabled());
        EXPECT_FALSE(model->item(2)->isEnabled());
        EXPECT_FALSE(model->item(2)->toolTip().isEmpty());
        AsceSuite(dialog);
        Child<QComboBox>(&dialog, "cbbScaleRule")->setCurrentIndex(0);
    });
    EXPECT_TRUE(Command().Outcome().has_value());
}

// Five checked records of one time step form two pairs, H1 then H2, and leave the fifth
// alone: RotD100 is offered, the table lists each pair once under its first component, the
// fifth is named in a message and not scaled. Each pair holds a step record twice, whose
// RotD100 is sqrt(2) times its PSa (the component at 45 degrees is sqrt(2) times the record),
// so its own factor is the record's over sqrt(2).
TEST_F(ScaleToTargetTest, TheRotDMeasuresScaleThePairsOfTheCheckedRecords) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    for (const std::string& path : {kStepFiles[0], kScaleInputs + "step_h2.txt", kStepFiles[1],
                                    kScaleInputs + "short_h2.txt", kStepFiles[2]}) {
        travik::ReadResult read = travik::ReadFreeFormatFile(path, {});
        ASSERT_TRUE(read.ok()) << read.message;
        records.push_back(std::move(read.record));
    }
    Load(std::move(records));
    CheckAll();
    Scale([](ScaleDialog& dialog) {
        auto* model = qobject_cast<QStandardItemModel*>(
            Child<QComboBox>(&dialog, "cbbScaleMeasure")->model());
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(model->item(1)->isEnabled());
        EXPECT_TRUE(model->item(2)->isEnabled());
        AsceSuite(dialog);
        Child<QComboBox>(&dialog, "cbbScaleMeasure")->setCurrentIndex(2);
        Child<QComboBox>(&dialog, "cbbScaleRule")->setCurrentIndex(0);
        EXPECT_EQ(Child<QSpinBox>(&dialog, "spnScaleSelect")->maximum(), 2);
    });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("Not scaled, as they are in no pair of horizontal components: "
                             "big.txt."));
    ASSERT_TRUE(Command().Outcome().has_value());
    EXPECT_EQ(Command().Outcome()->scaling.options.measure, travik::ScalingMeasure::RotD100);
    ASSERT_EQ(Spectra<StringGrid>("grdScaling")->RowCount(), 3);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("step.txt"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("short.txt"));

    travik::ScalingOptions options;
    options.minPeriod = 0.1;
    options.maxPeriod = 2;
    const travik::SuiteScaling single = CoreScaling(options, 0.05);
    ASSERT_EQ(single.failure, travik::ScalingFailure::None);
    // Loaded: step, step_h2, short, short_h2, big.
    for (const auto& [row, record] : {std::pair{1, 0}, std::pair{2, 2}}) {
        const double expected =
            single.scaled[static_cast<std::size_t>(record)].individualFactor / std::sqrt(2.0);
        EXPECT_NEAR(Cell(1, row).toDouble() / expected, 1.0, 1e-6) << row;
    }
}

// The table holds the core's factors for the same records, target and options, with the
// report's digits; the figure goes to the chart area of the panel.
TEST_F(ScaleToTargetTest, TheTableHoldsTheCoresFactors) {
    LoadStepRecords();
    CheckAll();
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QComboBox>(&dialog, "cbbScaleWeights")->setCurrentIndex(1);
        Child<QSpinBox>(&dialog, "spnScaleSelect")->setValue(2);
        Child<QLineEdit>(&dialog, "edtScaleDamping")->setText(QStringLiteral("10"));
    });
    ASSERT_TRUE(platform.messages.empty()) << platform.messages[0].text.toStdString();
    travik::ScalingOptions options;
    options.minPeriod = 0.1;
    options.maxPeriod = 2;
    options.rule = travik::SuiteRule::Asce7;
    options.weights = travik::ScalingWeights::Log;
    options.selectCount = 2;
    const travik::SuiteScaling core = CoreScaling(options, 0.10);
    ASSERT_EQ(core.failure, travik::ScalingFailure::None);
    ASSERT_EQ(Spectra<StringGrid>("grdScaling")->RowCount(), 4);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("Record"));
    EXPECT_EQ(Cell(6, 0), QStringLiteral("Rank"));
    int selected = 0;
    for (int r = 0; r < 3; ++r) {
        const travik::ScaledMember& m = core.scaled[static_cast<std::size_t>(r)];
        EXPECT_EQ(Cell(0, r + 1).toStdString(), core.members[static_cast<std::size_t>(r)].name);
        EXPECT_EQ(Cell(1, r + 1).toStdString(), travik::FormatSevenDigits(m.individualFactor));
        EXPECT_EQ(Cell(2, r + 1).toStdString(), travik::FormatSevenDigits(m.suiteFactor));
        EXPECT_EQ(Cell(3, r + 1).toStdString(), travik::FormatSevenDigits(m.totalFactor));
        EXPECT_EQ(Cell(4, r + 1).toStdString(), travik::FormatSevenDigits(m.mse));
        EXPECT_EQ(Cell(5, r + 1), m.selected ? QStringLiteral("yes") : QStringLiteral("no"));
        EXPECT_EQ(Cell(6, r + 1), QString::number(m.rank));
        selected += m.selected ? 1 : 0;
    }
    EXPECT_EQ(selected, 2);
    // The suite is scaled with equality: somewhere in the range the mean is 0.9 x target.
    double smallestRatio = 1e9;
    for (const travik::ScalingRow& row : core.rows) {
        smallestRatio = std::min(smallestRatio, row.mean / row.target);
    }
    EXPECT_NEAR(smallestRatio, 0.9, 1e-12);
    EXPECT_EQ(Spectra<QTabWidget>("pgc2")->currentWidget()->objectName(),
              QStringLiteral("pnlScaling"));
    EXPECT_FALSE(Spectra<travik::figures::FigureView>("chtScaling")->ShownFigure().curves.empty());
    EXPECT_FALSE(
        Spectra<travik::figures::FigureView>("chtScalingRatio")->ShownFigure().curves.empty());
    EXPECT_TRUE(Spectra<QPushButton>("btnWriteScaled")->isEnabled());
}

TEST_F(ScaleToTargetTest, TheTableCopiesLikeEveryTable) {
    LoadStepRecords();
    Spectra<QListWidget>("lst3")->item(1)->setCheckState(Qt::Checked);
    Scale(&AsceSuite);
    ASSERT_TRUE(Command().Outcome().has_value());
    const travik::ScaledMember& m = Command().Outcome()->scaling.scaled[0];
    Spectra<QAction>("SelectAllScaling")->trigger();
    Spectra<QAction>("CopyScaling")->trigger();
    const QString expected =
        QStringLiteral(
            "Record\tIndividual factor\tSuite factor\tTotal factor\tln MSE\tSelected\t"
            "Rank\nshort.txt\t%1\t%2\t%3\t%4\tyes\t1\n")
            .arg(QString::fromStdString(travik::FormatSevenDigits(m.individualFactor)),
                 QString::fromStdString(travik::FormatSevenDigits(m.suiteFactor)),
                 QString::fromStdString(travik::FormatSevenDigits(m.totalFactor)),
                 QString::fromStdString(travik::FormatSevenDigits(m.mse)));
    EXPECT_EQ(platform.clipboard, expected);
}

// The window's report and scaled records are byte for byte the command line's.
TEST_F(ScaleToTargetTest, TheReportAndTheScaledRecordsAreTheCommandLines) {
    LoadStepRecords();
    CheckAll();
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QSpinBox>(&dialog, "spnScaleSelect")->setValue(2);
    });
    ASSERT_TRUE(Command().Outcome().has_value());
    const QString window = folder.path() + QStringLiteral("/window");
    const QString cli = folder.path() + QStringLiteral("/cli");
    ASSERT_TRUE(QDir().mkpath(window));
    ASSERT_TRUE(QDir().mkpath(cli));
    platform.folderAnswers = {window, window};
    Spectra<QPushButton>("btnScalingReport")->click();
    Spectra<QPushButton>("btnWriteScaled")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(
        platform.messages[1].text,
        QStringLiteral("2 scaled records written to %1").arg(QDir::toNativeSeparators(window)));

    const int exit = RunCli(
        QStringList{QStringLiteral("scale"), QStringLiteral("--format"), QStringLiteral("free"),
                    QStringLiteral("--damping"), QStringLiteral("5"), QStringLiteral("--asce"),
                    QStringLiteral("1,0.6,8"), QStringLiteral("--range"), QStringLiteral("0.1,2"),
                    QStringLiteral("--select"), QStringLiteral("2"),
                    QStringLiteral("--write-records"), cli, QStringLiteral("--out"), cli} +
            StepFileArguments(),
        folder.path());
    EXPECT_EQ(exit, Command().Outcome()->scaling.ruleMet ? 0 : 1);
    const QStringList written = QDir(cli).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 3);  // the report and two records
    EXPECT_EQ(QDir(window).entryList(QDir::Files, QDir::Name), written);
    for (const QString& name : written) {
        EXPECT_EQ(Contents(window + '/' + name), Contents(cli + '/' + name)) << name.toStdString();
    }
    EXPECT_TRUE(written.contains(QStringLiteral("step_scaling.csv")));
}

// A target file, no rule and limits: the report is the command line's for the same options.
TEST_F(ScaleToTargetTest, AFileTargetWithLimitsGivesTheCommandLinesReport) {
    LoadStepRecords();
    CheckAll();
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QComboBox>(&dialog, "cbbScaleTarget")->setCurrentIndex(2);
        Child<QLineEdit>(&dialog, "edtScaleTargetFile")
            ->setText(QString::fromStdString(kScaleInputs + "target.txt"));
        Child<QComboBox>(&dialog, "cbbScaleRule")->setCurrentIndex(0);
        Child<QLineEdit>(&dialog, "edtScaleTmin")->setText(QStringLiteral("0.06"));
        Child<QLineEdit>(&dialog, "edtScaleTmax")->setText(QStringLiteral("2.5"));
        Child<QCheckBox>(&dialog, "chkScaleLimits")->setChecked(true);
        Child<QLineEdit>(&dialog, "edtScaleFmin")->setText(QStringLiteral("0.5"));
        Child<QLineEdit>(&dialog, "edtScaleFmax")->setText(QStringLiteral("1"));
    });
    ASSERT_TRUE(platform.messages.empty()) << platform.messages[0].text.toStdString();
    ASSERT_TRUE(Command().Outcome().has_value());
    EXPECT_EQ(Command().Outcome()->scaling.options.rule, travik::SuiteRule::None);
    platform.folderAnswers = {folder.path()};
    Spectra<QPushButton>("btnScalingReport")->click();
    const QString cli = folder.path() + QStringLiteral("/cli");
    ASSERT_TRUE(QDir().mkpath(cli));
    RunCli(
        QStringList{QStringLiteral("scale"), QStringLiteral("--format"), QStringLiteral("free"),
                    QStringLiteral("--target"), QString::fromStdString(kScaleInputs + "target.txt"),
                    QStringLiteral("--rule"), QStringLiteral("none"), QStringLiteral("--range"),
                    QStringLiteral("0.06,2.5"), QStringLiteral("--limits"), QStringLiteral("0.5,1"),
                    QStringLiteral("--out"), cli} +
            StepFileArguments(),
        folder.path());
    const QByteArray window = Contents(folder.path() + QStringLiteral("/step_scaling.csv"));
    EXPECT_FALSE(window.isEmpty());
    EXPECT_EQ(window, Contents(cli + QStringLiteral("/step_scaling.csv")));
}

// Save Figure and File -> Save Chart As on the Scaling page: both panels in one image named
// after the first record.
TEST_F(ScaleToTargetTest, TheFigureIsSavedAsTheCommandLineNamesIt) {
    LoadStepRecords();
    CheckAll();
    Scale(&AsceSuite);
    ASSERT_TRUE(Command().Outcome().has_value());
    const QString png = folder.path() + QStringLiteral("/figure.png");
    const QString svg = folder.path() + QStringLiteral("/figure.svg");
    platform.imageAnswers.push_back({png, travik::figures::ImageFormat::Png, {}});
    platform.imageAnswers.push_back({svg, travik::figures::ImageFormat::Svg, {}});
    Spectra<QPushButton>("btnSaveScalingFigure")->click();
    form->findChild<SpectraPage*>()->SaveChartAs();
    ASSERT_EQ(platform.suggestedImageNames.size(), 2);
    EXPECT_EQ(platform.suggestedImageNames[0], QStringLiteral("step_scaling"));
    EXPECT_EQ(platform.suggestedImageNames[1], QStringLiteral("step_scaling"));
    EXPECT_FALSE(QImage(png).isNull());
    const QByteArray text = Contents(svg);
    EXPECT_TRUE(text.contains("Mean / target"));
    EXPECT_TRUE(text.contains("Suite mean"));
}

// Scaled records read back: the source values times the factor, to the printed digits.
TEST_F(ScaleToTargetTest, AScaledRecordHoldsTheSourceTimesItsFactor) {
    LoadStepRecords();
    Spectra<QListWidget>("lst3")->item(2)->setCheckState(Qt::Checked);
    Scale(&AsceSuite);
    ASSERT_TRUE(Command().Outcome().has_value());
    const double factor = Command().Outcome()->scaling.scaled[0].totalFactor;
    platform.folderAnswers = {folder.path()};
    Spectra<QPushButton>("btnWriteScaled")->click();
    const QString name = QString::fromStdString(travik::At2FileName("big", factor));
    const QStringList lines =
        QString::fromLatin1(Contents(folder.path() + '/' + name)).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[3], QStringLiteral("NPTS=  71, DT=  0.01 SEC"));
    const double first = lines[4].left(15).trimmed().toDouble();
    // big.txt holds 1.0 g throughout.
    EXPECT_NEAR(first, factor, 5e-7 * factor);
}

// A cancelled write leaves whole files only; a cancelled scaling leaves the last one shown.
TEST_F(ScaleToTargetTest, CancelLeavesNothingHalfWritten) {
    LoadStepRecords(20);
    CheckAll();
    Scale(&AsceSuite);
    ASSERT_TRUE(Command().Outcome().has_value());
    const QString shownFactor = Cell(3, 1);
    BackgroundWork& work = form->Document().Work();
    work.SetMode(BackgroundWork::Mode::Threaded);
    platform.folderAnswers = {folder.path()};
    Spectra<QPushButton>("btnWriteScaled")->click();
    work.Cancel();
    work.WaitForFinished();
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) {
        ASSERT_TRUE(name.endsWith(QStringLiteral(".AT2"))) << name.toStdString();
        const QByteArray text = Contents(folder.path() + '/' + name);
        const int samples = text.contains("NPTS=  101")  ? 101
                            : text.contains("NPTS=  41") ? 41
                                                         : 71;
        EXPECT_EQ(text.count("\r\n"), 4 + (samples + 4) / 5) << name.toStdString();
    }
    // Cancelled as it starts, before the first record's spectrum is done.
    const QMetaObject::Connection cancelAtStart =
        QObject::connect(&work, &BackgroundWork::started, [&work] { work.Cancel(); });
    Scale([](ScaleDialog& dialog) {
        AsceSuite(dialog);
        Child<QLineEdit>(&dialog, "edtScaleTmax")->setText(QStringLiteral("3"));
    });
    work.WaitForFinished();
    QObject::disconnect(cancelAtStart);
    EXPECT_EQ(Cell(3, 1), shownFactor);
    EXPECT_DOUBLE_EQ(Command().Outcome()->scaling.options.maxPeriod, 2.0);
}

// The dialog's texts with a decimal comma; T1 gives 0.2 T1 to 2 T1; the refusal names the
// control to fix.
TEST(ScaleRequest, ReadsTheFieldsWithTheWindowsSeparator) {
    const std::vector<double> periods = {0.0, 0.1, 0.5, 1.0, 3.0};
    ScaleFields fields;
    fields.target = ScaleFields::Target::Eurocode;
    fields.ag = "0,3";
    fields.xi = "5";
    fields.eurocodeType = 1;
    fields.ground = 2;
    fields.range = ScaleFields::Range::FundamentalPeriod;
    fields.fundamentalPeriod = "1,25";
    fields.damping = "2,5";
    fields.limits = true;
    fields.minFactor = "0,5";
    fields.maxFactor = "3";
    fields.rule = travik::SuiteRule::Ec8;
    fields.weights = travik::ScalingWeights::Log;
    fields.select = 2;
    fields.maxPerStation = 1;
    const ScaleRequest request = ReadScaleRequest(fields, periods, 4, ',');
    ASSERT_TRUE(request.ok()) << request.message;
    ASSERT_TRUE(request.target.has_value());
    EXPECT_EQ(request.target->kind, travik::ScalingTarget::Kind::Eurocode);
    EXPECT_EQ(request.target->eurocode.type, travik::EurocodeSpectrumType::Type2);
    EXPECT_EQ(request.target->eurocode.ground, travik::EurocodeGroundType::C);
    EXPECT_DOUBLE_EQ(request.target->eurocode.ag, 0.3);
    EXPECT_DOUBLE_EQ(request.options.minPeriod, 0.25);
    EXPECT_DOUBLE_EQ(request.options.maxPeriod, 2.5);
    EXPECT_DOUBLE_EQ(request.dampingRatio, 0.025);
    EXPECT_DOUBLE_EQ(*request.options.minFactor, 0.5);
    EXPECT_DOUBLE_EQ(*request.options.maxFactor, 3.0);
    EXPECT_EQ(request.options.rule, travik::SuiteRule::Ec8);
    EXPECT_EQ(request.options.weights, travik::ScalingWeights::Log);
    EXPECT_EQ(request.options.selectCount, 2);
    EXPECT_EQ(request.options.maxPerStation, 1);

    fields.ag = "0,3 g";
    const ScaleRequest refused = ReadScaleRequest(fields, periods, 4, ',');
    EXPECT_EQ(refused.message, "a_g: \"0,3 g\" is not a number");
    EXPECT_EQ(refused.field, "edtScaleAg");
    fields.ag = "0,3";
    fields.select = 5;
    EXPECT_EQ(ReadScaleRequest(fields, periods, 4, ',').field, "spnScaleSelect");
    fields.select = 0;
    fields.maxFactor = "-1";
    EXPECT_EQ(ReadScaleRequest(fields, periods, 4, ',').field, "edtScaleFmax");
}

}  // namespace
