#include "plot/PlotCommand.h"
#include "Renderer.h"
#include "WholeNumberOption.h"

#include <QApplication>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/analysis/AnalysisWork.h"
#include "core/export/ReportHeader.h"
#include "core/export/SuiteStatisticsReport.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/spectra/TargetSpectrumReader.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"
#include "plot/QtStart.h"
#include "plot/RotdPlot.h"
#include "ui/figures/FigureExport.h"
#include "ui/figures/RecordFigures.h"
#include "ui/figures/SpectrumFigures.h"

namespace travik::cli {
namespace {

using figures::AxisScale;
using figures::ChartFigure;

std::optional<double> Number(const std::string& text) {
    return TryParseNumber(text, '.');
}

struct PlotChoices {
    figures::ImageFormat format = figures::ImageFormat::Png;
    figures::ImageOptions image;
    figures::SpectrumChartOptions chart;
    figures::StatisticsChoice statistics;
    std::optional<TargetSpectrum> target;
    double ratioFrom = 0.0;
    double ratioTo = 1e300;
    std::optional<double> highPassCorner;
};

// Long work is announced as `spectra` announces it, before the figures are computed.
void AnnounceLongWork(const RecordList& records, const SpectraAnalysis& analysis,
                      std::size_t dampingCount, std::ostream& err) {
    double steps = 0.0;
    for (int i = 0; i < records.Count(); ++i) {
        steps += EstimateOscillatorSteps(records.At(i), analysis.settings, dampingCount,
                                         analysis.periods);
    }
    if (steps > kAnnouncedOscillatorSteps) {
        err << AnalysisWorkAnnouncement(steps, MeasureOscillatorStepsPerSecond(analysis.settings))
            << std::endl;
    }
}

int OrdinateIndex(const std::string& name) {
    static const char* kNames[] = {"sd", "sv", "sa", "psv", "psa"};
    for (int i = 0; i < 5; ++i) {
        if (name == kNames[i]) {
            return i;
        }
    }
    return 4;
}

}  // namespace

PlotCommand::PlotCommand(CLI::App& app) : command_(app.add_subcommand("plot", kPlotDescription)) {
    command_->add_option("WHAT", options_.what, "spectra, records or rotd")
        ->required()
        ->check(CLI::IsMember({"spectra", "records", "rotd"}));
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    command_->add_option("--image", options_.image, "Image format: png, svg or pdf")
        ->capture_default_str()
        ->check(CLI::IsMember({"png", "svg", "pdf"}));
    command_->add_option("--size", options_.size, "Image size in pixels, WIDTHxHEIGHT")
        ->capture_default_str();
    command_->add_option("--dpi", options_.dpi, "Image resolution in dots per inch")
        ->capture_default_str()
        ->check(PlainWholeNumber())
        ->check(CLI::Range(36, 2400));
    command_->add_option("--log", options_.log, "Logarithmic axes: x, y or x,y");
    command_
        ->add_option("--x", options_.abscissa,
                     "Spectrum abscissa: period, frequency or displacement")
        ->capture_default_str()
        ->check(CLI::IsMember({"period", "frequency", "displacement"}));
    command_->add_option("--y", options_.ordinate, "Spectrum ordinate: sd, sv, sa, psv or psa")
        ->capture_default_str()
        ->check(CLI::IsMember({"sd", "sv", "sa", "psv", "psa"}));
    command_->add_flag(
        "--tripartite", options_.tripartite,
        "Pseudo-velocity on log-log axes with lines of constant Sd (cm) and PSa (g)");
    command_->add_flag("--frequency", options_.againstFrequency,
                       "Draw the tripartite chart against frequency instead of period");
    command_->add_flag("--adrs", options_.adrs,
                       "Pseudo-acceleration against spectral displacement");
    command_->add_flag("--checked-mean", options_.checkedMean,
                       "One figure of every record (first damping value) with statistics");
    command_
        ->add_option("--statistics", options_.statistics,
                     "Statistics drawn with --checked-mean, separated by commas: mean, median, "
                     "sigma, lognormal, lnsigma")
        ->capture_default_str();
    command_->add_flag("--statistics-csv", options_.statisticsCsv,
                       "With --checked-mean, also write <first name>_mean_RS.csv");
    command_->add_option("--target", options_.targetFile,
                         "Target spectrum file: period (s) and Sa (g) per line");
    command_->add_option("--asce", options_.asce,
                         "ASCE/SEI 7-22 two-period design spectrum: S_DS,S_D1,T_L (g, g, s)");
    command_->add_option("--ec8", options_.eurocode,
                         "EN 1998-1 elastic spectrum: TYPE,GROUND,AG[,XI] e.g. 1,B,0.25,5");
    command_->add_option("--ratio-range", options_.ratioRange,
                         "Period range of the mean/target check: TMIN,TMAX (s)");
    command_->add_option("--high-pass-corner", options_.highPassCorner,
                         "Corner frequency (Hz) of a high-pass filter already applied to the "
                         "records, for the accuracy shading");
    command_->add_flag("--no-bands", options_.noBands, "Do not shade the less trustworthy periods");
}

namespace {

// A refused option: its one-line message and the exit code.
struct Refusal {
    std::string message;
    int exitCode = kExitBadOption;
};
using Checked = std::optional<Refusal>;

Checked ReadImage(const PlotOptionTexts& options, PlotChoices& choices) {
    choices.format = *figures::ImageFormatFromName(QString::fromStdString(options.image));
    const std::size_t x = options.size.find_first_of("xX");
    const auto side = [&](std::size_t from, std::size_t count) {
        return x == std::string::npos
                   ? std::nullopt
                   : TryParsePlainWholeNumber(std::string_view(options.size).substr(from, count),
                                              20000);
    };
    const std::optional<unsigned long long> w = side(0, x);
    const std::optional<unsigned long long> h = side(x + 1, std::string::npos);
    if (!w || !h) {
        return Refusal{"--size takes WIDTHxHEIGHT in whole pixels, e.g. 1600x1000"};
    }
    choices.image.size = QSize(static_cast<int>(*w), static_cast<int>(*h));
    choices.image.dpi = options.dpi;
    if (const QString problem = choices.image.Check(); !problem.isEmpty()) {
        return Refusal{problem.toStdString()};
    }
    return std::nullopt;
}

Checked ReadChart(const PlotOptionTexts& options, double g, figures::SpectrumChartOptions& chart) {
    chart.g = g;
    chart.abscissa = options.abscissa == "frequency"      ? 1
                     : options.abscissa == "displacement" ? 2
                                                          : 0;
    chart.ordinate = OrdinateIndex(options.ordinate);
    for (const std::string& axis : SplitAtCommas(options.log)) {
        if (axis == "x") {
            chart.xScale = AxisScale::Log;
        } else if (axis == "y") {
            chart.yScale = AxisScale::Log;
        } else if (!axis.empty()) {
            return Refusal{"--log takes x, y or x,y"};
        }
    }
    chart.plot = options.tripartite ? figures::SpectrumPlot::Tripartite
                 : options.adrs     ? figures::SpectrumPlot::Adrs
                                    : figures::SpectrumPlot::Choice;
    chart.tripartiteAgainstFrequency = options.againstFrequency;
    return std::nullopt;
}

Checked ReadStatistics(const std::string& names, figures::StatisticsChoice& statistics) {
    for (const std::string& name : SplitAtCommas(names)) {
        if (name == "mean") {
            statistics.mean = true;
        } else if (name == "median") {
            statistics.median = true;
        } else if (name == "sigma") {
            statistics.meanPlusMinusSigma = true;
        } else if (name == "lognormal") {
            statistics.logMean = true;
        } else if (name == "lnsigma") {
            statistics.logMeanPlusMinusSigma = true;
        } else if (!name.empty()) {
            return Refusal{"--statistics takes mean, median, sigma, lognormal and lnsigma"};
        }
    }
    return std::nullopt;
}

Checked ReadRatioAndCorner(const PlotOptionTexts& options, PlotChoices& choices) {
    if (!options.ratioRange.empty()) {
        const std::vector<std::string> parts = SplitAtCommas(options.ratioRange);
        const std::optional<double> from = parts.size() == 2 ? Number(parts[0]) : std::nullopt;
        const std::optional<double> to = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
        if (!from || !to || !(*from >= 0) || !(*to > *from)) {
            return Refusal{"--ratio-range takes TMIN,TMAX in seconds with TMIN < TMAX"};
        }
        choices.ratioFrom = *from;
        choices.ratioTo = *to;
    }
    if (!options.highPassCorner.empty()) {
        const std::optional<double> fc = Number(options.highPassCorner);
        if (!fc || !(*fc > 0)) {
            return Refusal{"--high-pass-corner takes a frequency in Hz greater than zero"};
        }
        choices.highPassCorner = *fc;
    }
    return std::nullopt;
}

// ASCE/SEI 7-22's two-period spectrum drawn to `longest` (s).
Checked ReadAsceTarget(const std::string& text, double longest, PlotChoices& choices) {
    const std::vector<std::string> parts = SplitAtCommas(text);
    const std::optional<double> sds = parts.size() == 3 ? Number(parts[0]) : std::nullopt;
    const std::optional<double> sd1 = parts.size() == 3 ? Number(parts[1]) : std::nullopt;
    const std::optional<double> tl = parts.size() == 3 ? Number(parts[2]) : std::nullopt;
    if (!sds || !sd1 || !tl) {
        return Refusal{"--asce takes S_DS,S_D1,T_L, e.g. 1.0,0.6,8"};
    }
    const AsceTwoPeriodParameters p{*sds, *sd1, *tl};
    if (const std::string problem = p.Check(); !problem.empty()) {
        return Refusal{"--asce: " + problem};
    }
    choices.target = SampleAsceTwoPeriod(p, longest);
    return std::nullopt;
}

// EN 1998-1's elastic spectrum drawn to `longest` (s).
Checked ReadEurocodeTarget(const std::string& text, double longest, PlotChoices& choices) {
    const std::vector<std::string> parts = SplitAtCommas(text);
    EurocodeElasticParameters p;
    bool ok = parts.size() == 3 || parts.size() == 4;
    if (ok) {
        ok = parts[0] == "1" || parts[0] == "2";
        p.type = parts[0] == "2" ? EurocodeSpectrumType::Type2 : EurocodeSpectrumType::Type1;
        const std::string ground = parts[1];
        ok = ok && ground.size() == 1 && ground[0] >= 'A' && ground[0] <= 'E';
        if (ok) {
            p.ground = static_cast<EurocodeGroundType>(ground[0] - 'A');
        }
        const std::optional<double> ag = Number(parts[2]);
        const std::optional<double> xi = parts.size() == 4 ? Number(parts[3]) : 5.0;
        ok = ok && ag && xi;
        if (ok) {
            p.ag = *ag;
            p.dampingPercent = *xi;
        }
    }
    if (!ok) {
        return Refusal{
            "--ec8 takes TYPE,GROUND,AG[,XI]: type 1 or 2, ground A to E, a_g in g, "
            "damping in percent (5 when left out), e.g. 1,B,0.25"};
    }
    if (const std::string problem = p.Check(); !problem.empty()) {
        return Refusal{"--ec8: " + problem};
    }
    choices.target = SampleEurocodeElastic(p, longest);
    return std::nullopt;
}

// The target: a file, or a code spectrum drawn to the longest period analysed.
Checked ReadTarget(const PlotOptionTexts& options, const SpectraAnalysis& analysis,
                   PlotChoices& choices) {
    const double longest = std::max(analysis.periods.back(), 0.1);
    int targets = 0;
    if (!options.targetFile.empty()) {
        ++targets;
        try {
            choices.target = ReadTargetSpectrumFile(options.targetFile);
        } catch (const TargetSpectrumError& error) {
            return Refusal{error.what(), kExitFailure};
        }
    }
    if (!options.asce.empty()) {
        ++targets;
        if (Checked refusal = ReadAsceTarget(options.asce, longest, choices)) {
            return refusal;
        }
    }
    if (!options.eurocode.empty()) {
        ++targets;
        if (Checked refusal = ReadEurocodeTarget(options.eurocode, longest, choices)) {
            return refusal;
        }
    }
    if (targets > 1) {
        return Refusal{"Give one target: --target, --asce or --ec8"};
    }
    return std::nullopt;
}

// Every drawing option, in the order the command has always checked them.
Checked ReadChoices(const PlotOptionTexts& options, const SpectraAnalysis& analysis,
                    PlotChoices& choices) {
    Checked refusal = ReadImage(options, choices);
    if (!refusal) {
        refusal = ReadChart(options, analysis.settings.g, choices.chart);
    }
    if (!refusal) {
        refusal = ReadStatistics(options.statistics, choices.statistics);
    }
    if (!refusal) {
        refusal = ReadRatioAndCorner(options, choices);
    }
    if (!refusal) {
        refusal = ReadTarget(options, analysis, choices);
    }
    return refusal;
}

// Saves figures into the output folder under names that never collide, printing each path.
class FigureSaver {
  public:
    FigureSaver(const PlotChoices& choices, const std::string& outputFolder, std::ostream& out)
        : choices_(choices),
          suffix_(QStringLiteral(".") + figures::ImageFormatSuffix(choices.format)),
          folder_(outputFolder),
          out_(out) {}

    void Save(const std::string& sourceName, const std::string& kindSuffix,
              const std::vector<ChartFigure>& stacked) {
        const std::filesystem::path path =
            planner_.Next(folder_, sourceName, kindSuffix + suffix_.toStdString());
        figures::SaveFigures(QString::fromStdString(path.string()), stacked, choices_.format,
                             choices_.image);
        out_ << ShownText(path.string()) << '\n';
    }

    std::filesystem::path NextPath(const std::string& sourceName, const std::string& suffix) {
        return planner_.Next(folder_, sourceName, suffix);
    }

  private:
    const PlotChoices& choices_;
    QString suffix_;
    std::filesystem::path folder_;
    ReportPathPlanner planner_;
    std::ostream& out_;
};

// The periods a record's length and sampling cannot be trusted at, to be shaded.
std::vector<UntrustedBand> BandsFor(const TimeHistory& record, const PlotOptionTexts& options,
                                    const PlotChoices& choices, const AnalysisSettings& settings) {
    if (options.noBands) {
        return {};
    }
    // A corner given on the command line is that of a filter applied before the file was
    // written; else the filter applied here, if any.
    std::optional<double> corner = choices.highPassCorner;
    if (!corner && record.IsCorrected() && record.Filter()) {
        corner = record.Filter()->HighPassCorner();
    }
    return UntrustedPeriodBands(RecordSpan{record.TimeStep(), record.SampleCount(), corner},
                                settings);
}

void DrawRecords(const RecordList& records, const PlotChoices& choices, FigureSaver& saver) {
    for (int i = 0; i < records.Count(); ++i) {
        const TimeHistory& record = records.At(i);
        const std::array<ChartFigure, 3> charts = figures::TimeHistoryCharts(
            record, static_cast<std::size_t>(choices.image.size.width()));
        saver.Save(record.SourceFileName(), "_TH", {charts.begin(), charts.end()});
    }
}

// One spectra figure per record; returns kExitFailure when a run failed.
int DrawSpectra(const RecordList& records, const PlotOptionTexts& options,
                const SpectraAnalysis& analysis, const PlotChoices& choices, FigureSaver& saver,
                std::ostream& err) {
    int exitCode = kExitOk;
    for (int i = 0; i < records.Count(); ++i) {
        const TimeHistory& record = records.At(i);
        const SpectraResult result =
            ComputeSpectra(record, analysis.settings, analysis.dampingRatios, analysis.periods);
        for (const SpectraRunFailure& failure : result.failures) {
            err << "Error calculation for DampingRatio: " << FormatGeneral(failure.dampingRatio)
                << "& Period: " << FormatGeneral(failure.period) << '\n';
        }
        if (!result.failures.empty()) {
            exitCode = kExitFailure;
        }
        if (result.AllRunsFailed()) {
            err << "FILE: " << ShownText(record.SourceFileName())
                << ", ERROR: No oscillator of the analysis could be computed: no figure "
                   "is drawn\n";
            continue;
        }
        std::vector<figures::SpectrumCurve> curves;
        for (std::size_t d = 0; d < result.dampingRatios.size(); ++d) {
            curves.push_back(figures::CurveOfResult(result, d, '.'));
        }
        if (choices.target) {
            curves.push_back(figures::CurveOfTarget(*choices.target, analysis.settings.g));
        }
        figures::SpectrumChartOptions chart = choices.chart;
        chart.title = QString::fromStdString(record.SourceFileName());
        chart.bands = BandsFor(record, options, choices, analysis.settings);
        saver.Save(record.SourceFileName(), "_RS", {figures::SpectrumChart(curves, chart)});
    }
    return exitCode;
}

// The suite mean's ratio to the target over the chosen periods, printed.
void PrintTargetRatio(const SuiteSpectra& suite, const PlotChoices& choices, std::ostream& out) {
    const std::size_t sa = static_cast<std::size_t>(SpectrumKind::PseudoAcceleration);
    const TargetRatio ratio =
        CompareMeanToTarget(suite.periods, suite.statistics.kinds[sa].mean, *choices.target,
                            choices.ratioFrom, choices.ratioTo);
    if (ratio.valid) {
        out << "Mean/target (PSa) at " << ratio.periodCount << " periods: min "
            << FormatNumber(ratio.minRatio, "0.000") << " at "
            << FormatNumber(ratio.minAtPeriod, "0.###") << " s, max "
            << FormatNumber(ratio.maxRatio, "0.000") << " at "
            << FormatNumber(ratio.maxAtPeriod, "0.###") << " s, mean "
            << FormatNumber(ratio.meanRatio, "0.000") << '\n';
    } else {
        out << "Mean/target: no period of the range lies within the target\n";
    }
}

// The band every record shares: the shortest record's long-period limit.
const TimeHistory& ShortestRecord(const std::vector<const TimeHistory*>& records) {
    const TimeHistory* shortest = records.front();
    for (const TimeHistory* record : records) {
        if (record->SampleCount() * record->TimeStep() <
            shortest->SampleCount() * shortest->TimeStep()) {
            shortest = record;
        }
    }
    return *shortest;
}

// One figure of every record, their statistics and the target; returns kExitFailure when a
// record's spectrum could not be computed.
int DrawCheckedMean(const RecordList& list, const PlotOptionTexts& options,
                    const SpectraAnalysis& analysis, const PlotChoices& choices, FigureSaver& saver,
                    std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    if (list.IsEmpty()) {
        return exitCode;
    }
    std::vector<const TimeHistory*> records;
    for (int i = 0; i < list.Count(); ++i) {
        records.push_back(&list.At(i));
    }
    const double zeta = analysis.dampingRatios.front();
    const SuiteSpectra suite =
        ComputeSuiteSpectra(records, analysis.settings, zeta, analysis.periods);
    for (const std::string& failed : suite.failedRecords) {
        err << "No spectrum for " << ShownTextCut(failed, 255) << ": a run could not be computed\n";
        exitCode = kExitFailure;
    }
    std::vector<figures::SpectrumCurve> curves = figures::CurvesOfSuite(suite, choices.statistics);
    if (choices.target) {
        curves.push_back(figures::CurveOfTarget(*choices.target, analysis.settings.g));
        PrintTargetRatio(suite, choices, out);
    }
    figures::SpectrumChartOptions chart = choices.chart;
    chart.title = QStringLiteral("%1 records, damping %2%")
                      .arg(suite.recordNames.size())
                      .arg(QString::fromStdString(FormatNumber(zeta * 100, "0.###")));
    chart.bands = BandsFor(ShortestRecord(records), options, choices, analysis.settings);
    const std::string first = records.front()->SourceFileName();
    saver.Save(first, "_mean_RS", {figures::SpectrumChart(curves, chart)});
    if (options.statisticsCsv) {
        ReportLines lines;
        BuildSuiteStatisticsReport(lines, *records.front(), suite.statistics, kSoftwareEdition,
                                   TodayLocalDate());
        const std::filesystem::path path = saver.NextPath(first, kSuiteStatisticsReportSuffix);
        WriteReport(path, lines);
        out << ShownText(path.string()) << '\n';
    }
    return exitCode;
}

}  // namespace

int PlotCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection = ReadAnalysisOf(analysis_, import_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }
    PlotChoices choices;
    if (const Checked refusal = ReadChoices(options_, analysis, choices)) {
        err << refusal->message << '\n';
        return refusal->exitCode;
    }

    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }
    if (options_.what == "spectra") {
        AnnounceLongWork(outcome.records, analysis,
                         options_.checkedMean ? 1 : analysis.dampingRatios.size(), err);
    }
    const std::unique_ptr<QApplication> qt = StartQt();

    FigureSaver saver(choices, import_.outputFolder, out);
    const int readExitCode =
        outcome.readerFailed || outcome.correctionFailed ? kExitFailure : kExitOk;
    try {
        if (options_.what == "rotd") {
            const int code = PlotRotatedSpectra({import_, outcome, analysis, choices.format,
                                                 choices.image, choices.chart, choices.target},
                                                out, err);
            return code == kExitOk ? readExitCode : code;
        }
        int drawExitCode = kExitOk;
        if (options_.what == "records") {
            DrawRecords(outcome.records, choices, saver);
        } else if (!options_.checkedMean) {
            drawExitCode = DrawSpectra(outcome.records, options_, analysis, choices, saver, err);
        } else {
            drawExitCode =
                DrawCheckedMean(outcome.records, options_, analysis, choices, saver, out, err);
        }
        return drawExitCode != kExitOk ? drawExitCode : readExitCode;
    } catch (const ReportWriteError& error) {
        err << error.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace travik::cli
