#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "SpectraFixture.h"
#include "core/export/RotDReport.h"
#include "core/records/RecordPreparation.h"
#include "core/rotation/RotatedSpectra.h"
#include "core/text/NumberParse.h"
#include "ui/app/RecordSource.h"
#include "ui/figures/PolarFigures.h"
#include "ui/presentation/GridClipboard.h"

namespace {

QString Sample(const char* name) {
    return QStringLiteral(TRAVIK_SAMPLE_DATA_DIR "/formats/") + QString::fromLatin1(name);
}

double Number(const QString& text) {
    const std::optional<double> value = travik::TryParseNumber(text.toStdString(), '.');
    EXPECT_TRUE(value.has_value()) << text.toStdString();
    return value.value_or(NAN);
}

// The two-component mode of the spectra page: pairs, the rotated table, chart, polar view
// and the _RotD.csv export.
class TwoComponents : public SpectraFixture {
  protected:
    // Reads the files as an automatic-format import does (no correction), each file its own
    // source, and puts their records in the window's lists.
    void LoadFiles(const QStringList& files) {
        travik::ImportPlan plan;
        plan.read.format = travik::RecordFormat::Automatic;
        travik::RecordList list;
        RecordSources sources;
        for (const QString& file : files) {
            travik::PreparedFile prepared = travik::PrepareRecordFile(plan, file.toStdString());
            ASSERT_TRUE(prepared.reading.ok) << file.toStdString();
            auto source = std::make_shared<RecordSource>();
            source->path = file.toStdString();
            source->read = plan.read;
            for (int i = 0; i < prepared.records.Count(); ++i) {
                list.Append(std::make_unique<travik::TimeHistory>(prepared.records.At(i)));
                sources.push_back(source);
            }
        }
        form->Document().ReplaceRecords(std::move(list), std::move(sources));
    }

    void ModeOn() {
        ShowSpectraPage();
        Spectra<QCheckBox>("chkTwoComponents")->setChecked(true);
    }

    // Pairs of the list as record indexes, H1 then H2, read from the H1 and H2 lists.
    std::vector<std::pair<int, int>> Pairs() const {
        std::vector<std::pair<int, int>> pairs;
        auto* list = Spectra<QListWidget>("lstPairs");
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            pairs.emplace_back(Spectra<QComboBox>("cbbH1")->currentIndex(),
                               Spectra<QComboBox>("cbbH2")->currentIndex());
        }
        return pairs;
    }

    // A smaller period list, so that the pair's spectra come quickly.
    void FewPeriods() {
        ChangeSettings([](travik::AnalysisSettings& s) {
            s.minPeriod = 0.1;
            s.maxPeriod = 2.0;
            s.periodStep = 0.1;
        });
    }

    // The core's own rotated spectra of records a and b at the window's settings.
    travik::RotatedSpectraResult CoreResult(int a, int b, const std::vector<double>& damping) {
        travik::RotatedSpectraOptions options;
        options.dampingRatios = damping;
        const std::vector<double> periods = form->Document().Settings().Periods();
        options.periods.assign(periods.begin() + 1, periods.end());
        const travik::TimeHistory& h1 = form->Document().Records().At(a);
        const travik::TimeHistory& h2 = form->Document().Records().At(b);
        std::optional<travik::RotatedSpectraResult> result =
            travik::ComputeRotatedSpectra(form->Document().Settings(), h1, h2, options);
        EXPECT_TRUE(result.has_value());
        return result.value_or(travik::RotatedSpectraResult{});
    }

    // Two records of a short decaying motion in two directions, dt 0.01 s.
    void LoadSyntheticPair(double h2Scale = 0.6) {
        std::vector<double> a;
        std::vector<double> b;
        for (int i = 0; i < 300; ++i) {
            const double decay = std::exp(-i / 120.0);
            a.push_back(0.3 * std::sin(6.2831852 * i / 23.0) * decay);
            b.push_back(h2Scale * std::sin(6.2831852 * i / 41.0 + 0.7) * decay);
        }
        std::vector<std::unique_ptr<travik::TimeHistory>> records;
        records.push_back(MakeRecord("pair-h1.txt", 0.01, a));
        records.push_back(MakeRecord("pair-h2.txt", 0.01, b));
        Load(std::move(records));
    }

    StringGrid* Table() const { return Spectra<StringGrid>("strngrdRotated"); }

    // Cell texts of the whole rotated table.
    std::vector<QString> TableCells() const {
        std::vector<QString> cells;
        for (int r = 0; r < Table()->RowCount(); ++r) {
            for (int c = 0; c < Table()->ColumnCount(); ++c) {
                cells.push_back(Table()->Cell(c, r));
            }
        }
        return cells;
    }
};

TEST_F(TwoComponents, AThreeChannelV2FileIsProposedAsItsTwoHorizontalChannels) {
    LoadFiles({Sample("csmip/CIWLT.V2")});
    ASSERT_EQ(form->Document().Records().Count(), 3);
    ModeOn();
    // Channels 090, 360 and Up: the vertical is left out, H1 the first in the file.
    EXPECT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(Spectra<QListWidget>("lstPairs")->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(Spectra<QListWidget>("lstPairs")->item(0)->text(), "CIWLT_ch1_090 + CIWLT_ch2_360");
}

TEST_F(TwoComponents, KnetEastWestAndNorthSouthFilesOfOneStationAndTimeAreProposed) {
    // The vertical and the KiK-net borehole and surface east-west files stay alone: two
    // east-west components are not at right angles.
    LoadFiles({Sample("knet/CHB0031412312349.EW"), Sample("knet/NGNH311106302345.EW1"),
               Sample("knet/CHB0031412312349.UD"), Sample("knet/CHB0031412312349.NS"),
               Sample("knet/NGNH311106302345.EW2")});
    ASSERT_EQ(form->Document().Records().Count(), 5);
    ModeOn();
    EXPECT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 3}}));
}

TEST_F(TwoComponents, TwoSingleHorizontalFilesAreProposedInTheOrderLoaded) {
    LoadFiles({Sample("peer/RSN8883_14383980_13849090.AT2"),
               Sample("peer/RSN8883_14383980_13849360.AT2")});
    EXPECT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 1}}));
    // The user's own pair: H2 then H1, added beside the proposal.
    Spectra<QComboBox>("cbbH1")->setCurrentIndex(1);
    Spectra<QComboBox>("cbbH2")->setCurrentIndex(0);
    Spectra<QPushButton>("btnAddPair")->click();
    EXPECT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}}));
    Spectra<QPushButton>("btnRemovePair")->click();
    EXPECT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 1}}));
}

TEST_F(TwoComponents, AComponentOfAnotherTimeStepIsRefusedWithTheCommandLinesMessage) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(MakeRecord("a.txt", 0.01, {0.1, 0.2, 0.1}));
    records.push_back(MakeRecord("b.txt", 0.005, {0.1, 0.2, 0.1}));
    Load(std::move(records));
    ModeOn();
    EXPECT_EQ(Spectra<QListWidget>("lstPairs")->count(), 0);
    Spectra<QComboBox>("cbbH1")->setCurrentIndex(0);
    Spectra<QComboBox>("cbbH2")->setCurrentIndex(1);
    Spectra<QPushButton>("btnAddPair")->click();
    Spectra<QPushButton>("btnRotate")->click();
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages.back().text,
              "Components have different time steps: 0.01 s and 0.005 s");
    EXPECT_EQ(Table()->Cell(1, 1), "");
}

TEST_F(TwoComponents, TheRotatedTableHoldsTheCoresValuesUnderTheReportsColumns) {
    LoadSyntheticPair();
    FewPeriods();
    SetDamping({"5", "2"});
    ModeOn();
    Spectra<QPushButton>("btnRotate")->click();
    ASSERT_TRUE(platform.messages.empty()) << platform.messages.front().text.toStdString();

    const travik::RotatedSpectraResult core = CoreResult(0, 1, {0.02, 0.05});
    travik::ComponentPair pair;  // no azimuths: no azimuth column
    const std::vector<std::string> titles = travik::RotDColumnTitles(core, false);
    ASSERT_EQ(Table()->ColumnCount(), static_cast<int>(titles.size()));
    ASSERT_EQ(Table()->RowCount(), static_cast<int>(core.options.periods.size()) + 2);
    for (std::size_t c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(Table()->Cell(static_cast<int>(c), 0).toStdString(), titles[c]);
    }
    EXPECT_EQ(Table()->Cell(0, 1), "0");
    const std::size_t group = 7;  // RotD00, RotD50, RotD100, angle, GMRotI50, H1, H2
    for (std::size_t d = 0; d < 2; ++d) {
        const int first = 1 + static_cast<int>(d * group);
        const travik::RotatedDampingSpectra& spectra = core.damping[d];
        EXPECT_NEAR(Number(Table()->Cell(first + 2, 1)), core.pga.percentiles[2],
                    5e-7 * core.pga.percentiles[2]);
        for (std::size_t k = 0; k < core.options.periods.size(); ++k) {
            const int row = static_cast<int>(k) + 2;
            const travik::RotatedPeaks& psa = spectra.points[k].psa;
            EXPECT_NEAR(Number(Table()->Cell(0, row)), core.options.periods[k], 1e-12);
            EXPECT_NEAR(Number(Table()->Cell(first, row)), psa.percentiles[0],
                        5e-7 * psa.percentiles[0]);
            EXPECT_NEAR(Number(Table()->Cell(first + 1, row)), psa.percentiles[1],
                        5e-7 * psa.percentiles[1]);
            EXPECT_NEAR(Number(Table()->Cell(first + 2, row)), psa.percentiles[2],
                        5e-7 * psa.percentiles[2]);
            EXPECT_EQ(Table()->Cell(first + 3, row).toInt(), psa.maxAngle);
            EXPECT_NEAR(Number(Table()->Cell(first + 4, row)), spectra.gmrotI50[k],
                        5e-7 * spectra.gmrotI50[k]);
            EXPECT_NEAR(Number(Table()->Cell(first + 5, row)), psa.h1, 5e-7 * psa.h1);
            EXPECT_NEAR(Number(Table()->Cell(first + 6, row)), psa.h2, 5e-7 * psa.h2);
        }
    }
}

TEST_F(TwoComponents, EqualComponentsGiveRotD100OfTheRootOfTwoAt45DegreesAndTheSpectraOfH1) {
    // h2 = h1: the rotated component at 45 degrees is sqrt(2) h1, at 135 degrees nothing.
    LoadSyntheticPair();
    FewPeriods();
    SetDamping({"5"});
    std::vector<double> a(form->Document().Records().At(0).RawAcceleration());
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(MakeRecord("same-h1.txt", 0.01, a));
    records.push_back(MakeRecord("same-h2.txt", 0.01, a));
    Load(std::move(records));
    ModeOn();
    // The single-component spectra of H1 for the independent PSa.
    ShowSpectraPage(5);
    Spectra<QPushButton>("btn11")->click();
    Spectra<QCheckBox>("chkTwoComponents")->setChecked(true);
    Spectra<QPushButton>("btnRotate")->click();
    StringGrid* psa = Spectra<StringGrid>("strngrd5");
    ASSERT_GT(Table()->RowCount(), 3);
    for (int row = 2; row < Table()->RowCount(); ++row) {
        const double h1 = Number(psa->Cell(1, row));  // six decimals
        EXPECT_NEAR(Number(Table()->Cell(3, row)), std::numbers::sqrt2 * h1, 2e-6) << row;
        EXPECT_EQ(Table()->Cell(4, row), "45") << row;
        EXPECT_NEAR(Number(Table()->Cell(1, row)), 0.0, 1e-9) << row;
        EXPECT_NEAR(Number(Table()->Cell(6, row)), h1, 1e-6) << row;
    }
}

TEST_F(TwoComponents, TheChartShowsTheFiveCurvesOfPlotRotdAndTheTableCopies) {
    LoadSyntheticPair();
    FewPeriods();
    SetDamping({"5"});
    ModeOn();
    Spectra<QPushButton>("btnRotate")->click();
    const travik::figures::ChartFigure figure = SpectrumFigure();
    ASSERT_EQ(figure.curves.size(), 5U);
    EXPECT_EQ(figure.title, "pair-h1.txt + pair-h2.txt");
    const QStringList names = {"RotD50 (5%)", "RotD100 (5%)", "GMRotI50 (5%)", "H1 (5%)",
                               "H2 (5%)"};
    for (int c = 0; c < names.size(); ++c) {
        EXPECT_EQ(figure.curves[static_cast<std::size_t>(c)].name, names.at(c));
    }
    // RotD100 is drawn at the table's values, in g on the pseudo-acceleration chart.
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);
    const travik::figures::ChartFigure psa = SpectrumFigure();
    ASSERT_EQ(psa.curves.size(), 5U);
    const QPointF last = psa.curves[1].points.back();
    const int lastRow = Table()->RowCount() - 1;
    EXPECT_NEAR(last.y(), Number(Table()->Cell(3, lastRow)), 1e-6);

    Spectra<QTabWidget>("pgc2")->setCurrentIndex(7);
    EXPECT_EQ(Spectra<QTabWidget>("pgc2")->tabText(7), "Rotated");
    Table()->SetSelection({0, 0, 2, 2});
    Spectra<QAction>("CopySelection1")->trigger();
    EXPECT_EQ(platform.clipboard, GridSelectionText(*Table()));
    EXPECT_TRUE(
        platform.clipboard.startsWith("Period [sec]\tRotD00 [g] (5%)\tRotD50 [g] (5%)\n0\t"));

    // Off again: the record's own chart comes back.
    Spectra<QCheckBox>("chkTwoComponents")->setChecked(false);
    EXPECT_TRUE(SpectrumFigure().curves.empty());
}

TEST_F(TwoComponents, ThePolarViewMarksTheRotD100AngleOfThePeriodUnderThePointer) {
    LoadSyntheticPair();
    FewPeriods();
    SetDamping({"5"});
    ModeOn();
    Spectra<QPushButton>("btnRotate")->click();
    const travik::RotatedSpectraResult core = CoreResult(0, 1, {0.05});
    auto* period = Spectra<QComboBox>("cbbPolarPeriod");
    ASSERT_EQ(period->count(), static_cast<int>(core.options.periods.size()) + 1);
    for (const int row : {0, 3, 12}) {
        period->setCurrentIndex(row);
        const travik::RotatedPeaks& peaks =
            row == 0 ? core.pga : core.damping[0].points[static_cast<std::size_t>(row - 1)].psa;
        const travik::figures::ChartFigure polar =
            Spectra<travik::figures::FigureView>("chtPolar")->ShownFigure();
        ASSERT_EQ(polar.curves.size(), 3U);
        const QPointF end =
            polar.curves[static_cast<std::size_t>(travik::figures::PolarCurve::RotD100Direction)]
                .points.back();
        const double angle = std::atan2(end.y(), end.x()) * 180.0 / std::numbers::pi;
        EXPECT_NEAR(angle, peaks.maxAngle, 1e-9) << row;
        EXPECT_NEAR(std::hypot(end.x(), end.y()), peaks.percentiles[2], 1e-12) << row;
        EXPECT_TRUE(polar.title.contains(QStringLiteral("RotD100 at %1°").arg(peaks.maxAngle)));
    }
    // The pointer over the chart at a period chooses it.
    auto* view = Spectra<travik::figures::FigureView>("cht4");
    const QPoint middle = view->viewport()->rect().center();
    const std::optional<QPointF> value = view->ValueAt(middle);
    ASSERT_TRUE(value.has_value());
    emit view->PointerMoved(middle);
    const double chosen = period->currentData().toDouble();
    for (const double t : core.options.periods) {
        EXPECT_LE(std::fabs(std::log(chosen / value->x())), std::fabs(std::log(t / value->x())));
    }
}

TEST_F(TwoComponents, ACancelledComputationLeavesThePageAsItWas) {
    LoadSyntheticPair();
    FewPeriods();
    SetDamping({"5"});
    ModeOn();
    Spectra<QPushButton>("btnRotate")->click();
    const std::vector<QString> cells = TableCells();
    const std::size_t curves = SpectrumFigure().curves.size();
    const QString polar = Spectra<travik::figures::FigureView>("chtPolar")->ShownFigure().title;
    ASSERT_EQ(curves, 5U);

    SetDamping({"5", "2", "10"});
    form->Document().Work().SetMode(BackgroundWork::Mode::Threaded);
    Spectra<QPushButton>("btnRotate")->click();
    EXPECT_TRUE(form->Document().Work().IsBusy());
    EXPECT_FALSE(Spectra<QPushButton>("btnRotate")->isEnabled());
    form->Document().Work().Cancel();
    form->Document().Work().WaitForFinished();
    EXPECT_EQ(TableCells(), cells);
    EXPECT_EQ(SpectrumFigure().curves.size(), curves);
    EXPECT_EQ(Spectra<travik::figures::FigureView>("chtPolar")->ShownFigure().title, polar);
    EXPECT_TRUE(Spectra<QPushButton>("btnRotate")->isEnabled());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TwoComponents, TheExportedReportIsTheCommandLinesByteForByte) {
    const QString h1 = Sample("smc/A-CAT090.AT2.smc");
    const QString h2 = Sample("smc/A-CAT180.AT2.smc");
    LoadFiles({h1, h2});
    SetDamping({"5", "2"});
    ModeOn();
    ASSERT_EQ(Pairs(), (std::vector<std::pair<int, int>>{{0, 1}}));
    QDir(folder.path()).mkdir("window");
    QDir(folder.path()).mkdir("cli");
    platform.folderAnswers.push_back(folder.filePath("window"));
    Spectra<QPushButton>("btnExportRotD")->click();
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages.back().text, "Done!");

    QProcess cli;
    cli.start(QStringLiteral(TRAVIK_CLI),
              {QStringLiteral("rotd"), QStringLiteral("--format"), QStringLiteral("auto"),
               QStringLiteral("--damping"), QStringLiteral("2,5"), QStringLiteral("--out"),
               folder.filePath("cli"), h1, h2});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    QFile window(folder.filePath("window/A-CAT090.AT2_RotD.csv"));
    QFile line(folder.filePath("cli/A-CAT090.AT2_RotD.csv"));
    ASSERT_TRUE(window.open(QIODevice::ReadOnly));
    ASSERT_TRUE(line.open(QIODevice::ReadOnly));
    const QByteArray written = window.readAll();
    EXPECT_GT(written.size(), 1000);
    EXPECT_EQ(written, line.readAll());
}

}  // namespace
