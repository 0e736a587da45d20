#include "plot/PlotCommand.h"
#include "Renderer.h"
#include "WholeNumberOption.h"

#include <QApplication>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/AnalysisWork.h"
#include "export/ReportHeader.h"
#include "export/SuiteStatisticsReport.h"
#include "figures/FigureExport.h"
#include "figures/RecordFigures.h"
#include "figures/SpectrumFigures.h"
#include "plot/QtStart.h"
#include "plot/RotdPlot.h"
#include "spectra/SuiteSpectra.h"
#include "spectra/TargetSpectrumReader.h"
#include "text/NumberFormat.h"
#include "text/NumberParse.h"
#include "text/ShownText.h"

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
    command_->add_option("WHAT", what_, "spectra, records or rotd")
        ->required()
        ->check(CLI::IsMember({"spectra", "records", "rotd"}));
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    command_->add_option("--image", image_, "Image format: png, svg or pdf")
        ->capture_default_str()
        ->check(CLI::IsMember({"png", "svg", "pdf"}));
    command_->add_option("--size", size_, "Image size in pixels, WIDTHxHEIGHT")
        ->capture_default_str();
    command_->add_option("--dpi", dpi_, "Image resolution in dots per inch")
        ->capture_default_str()
        ->check(PlainWholeNumber())
        ->check(CLI::Range(36, 2400));
    command_->add_option("--log", log_, "Logarithmic axes: x, y or x,y");
    command_->add_option("--x", abscissa_, "Spectrum abscissa: period, frequency or displacement")
        ->capture_default_str()
        ->check(CLI::IsMember({"period", "frequency", "displacement"}));
    command_->add_option("--y", ordinate_, "Spectrum ordinate: sd, sv, sa, psv or psa")
        ->capture_default_str()
        ->check(CLI::IsMember({"sd", "sv", "sa", "psv", "psa"}));
    command_->add_flag(
        "--tripartite", tripartite_,
        "Pseudo-velocity on log-log axes with lines of constant Sd (cm) and PSa (g)");
    command_->add_flag("--frequency", againstFrequency_,
                       "Draw the tripartite chart against frequency instead of period");
    command_->add_flag("--adrs", adrs_, "Pseudo-acceleration against spectral displacement");
    command_->add_flag("--checked-mean", checkedMean_,
                       "One figure of every record (first damping value) with statistics");
    command_
        ->add_option("--statistics", statistics_,
                     "Statistics drawn with --checked-mean, separated by commas: mean, median, "
                     "sigma, lognormal, lnsigma")
        ->capture_default_str();
    command_->add_flag("--statistics-csv", statisticsCsv_,
                       "With --checked-mean, also write <first name>_mean_RS.csv");
    command_->add_option("--target", targetFile_,
                         "Target spectrum file: period (s) and Sa (g) per line");
    command_->add_option("--asce", asce_,
                         "ASCE/SEI 7-22 two-period design spectrum: S_DS,S_D1,T_L (g, g, s)");
    command_->add_option("--ec8", eurocode_,
                         "EN 1998-1 elastic spectrum: TYPE,GROUND,AG[,XI] e.g. 1,B,0.25,5");
    command_->add_option("--ratio-range", ratioRange_,
                         "Period range of the mean/target check: TMIN,TMAX (s)");
    command_->add_option("--high-pass-corner", highPassCorner_,
                         "Corner frequency (Hz) of a high-pass filter already applied to the "
                         "records, for the accuracy shading");
    command_->add_flag("--no-bands", noBands_, "Do not shade the less trustworthy periods");
}

int PlotCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection = ReadAnalysisOf(analysis_, import_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }

    PlotChoices choices;
    choices.format = *figures::ImageFormatFromName(QString::fromStdString(image_));
    {
        const std::size_t x = size_.find_first_of("xX");
        const auto side = [&](std::size_t from, std::size_t count) {
            return x == std::string::npos ? std::nullopt
                                          : TryParsePlainWholeNumber(
                                                std::string_view(size_).substr(from, count), 20000);
        };
        const std::optional<unsigned long long> w = side(0, x);
        const std::optional<unsigned long long> h = side(x + 1, std::string::npos);
        if (!w || !h) {
            err << "--size takes WIDTHxHEIGHT in whole pixels, e.g. 1600x1000\n";
            return kExitBadOption;
        }
        choices.image.size = QSize(static_cast<int>(*w), static_cast<int>(*h));
        choices.image.dpi = dpi_;
        if (const QString problem = choices.image.Check(); !problem.isEmpty()) {
            err << problem.toStdString() << '\n';
            return kExitBadOption;
        }
    }
    figures::SpectrumChartOptions& chart = choices.chart;
    chart.g = analysis.settings.g;
    chart.abscissa = abscissa_ == "frequency" ? 1 : abscissa_ == "displacement" ? 2 : 0;
    chart.ordinate = OrdinateIndex(ordinate_);
    for (const std::string& axis : SplitAtCommas(log_)) {
        if (axis == "x") {
            chart.xScale = AxisScale::Log;
        } else if (axis == "y") {
            chart.yScale = AxisScale::Log;
        } else if (!axis.empty()) {
            err << "--log takes x, y or x,y\n";
            return kExitBadOption;
        }
    }
    chart.plot = tripartite_ ? figures::SpectrumPlot::Tripartite
                 : adrs_     ? figures::SpectrumPlot::Adrs
                             : figures::SpectrumPlot::Choice;
    chart.tripartiteAgainstFrequency = againstFrequency_;
    for (const std::string& name : SplitAtCommas(statistics_)) {
        if (name == "mean") {
            choices.statistics.mean = true;
        } else if (name == "median") {
            choices.statistics.median = true;
        } else if (name == "sigma") {
            choices.statistics.meanPlusMinusSigma = true;
        } else if (name == "lognormal") {
            choices.statistics.logMean = true;
        } else if (name == "lnsigma") {
            choices.statistics.logMeanPlusMinusSigma = true;
        } else if (!name.empty()) {
            err << "--statistics takes mean, median, sigma, lognormal and lnsigma\n";
            return kExitBadOption;
        }
    }
    if (!ratioRange_.empty()) {
        const std::vector<std::string> parts = SplitAtCommas(ratioRange_);
        const std::optional<double> from = parts.size() == 2 ? Number(parts[0]) : std::nullopt;
        const std::optional<double> to = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
        if (!from || !to || !(*from >= 0) || !(*to > *from)) {
            err << "--ratio-range takes TMIN,TMAX in seconds with TMIN < TMAX\n";
            return kExitBadOption;
        }
        choices.ratioFrom = *from;
        choices.ratioTo = *to;
    }
    if (!highPassCorner_.empty()) {
        const std::optional<double> fc = Number(highPassCorner_);
        if (!fc || !(*fc > 0)) {
            err << "--high-pass-corner takes a frequency in Hz greater than zero\n";
            return kExitBadOption;
        }
        choices.highPassCorner = *fc;
    }

    // The target: a file, or a code spectrum drawn to the longest period analysed.
    const double longest = std::max(analysis.periods.back(), 0.1);
    int targets = 0;
    if (!targetFile_.empty()) {
        ++targets;
        try {
            choices.target = ReadTargetSpectrumFile(targetFile_);
        } catch (const TargetSpectrumError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        }
    }
    if (!asce_.empty()) {
        ++targets;
        const std::vector<std::string> parts = SplitAtCommas(asce_);
        AsceTwoPeriodParameters p;
        const std::optional<double> sds = parts.size() == 3 ? Number(parts[0]) : std::nullopt;
        const std::optional<double> sd1 = parts.size() == 3 ? Number(parts[1]) : std::nullopt;
        const std::optional<double> tl = parts.size() == 3 ? Number(parts[2]) : std::nullopt;
        if (!sds || !sd1 || !tl) {
            err << "--asce takes S_DS,S_D1,T_L, e.g. 1.0,0.6,8\n";
            return kExitBadOption;
        }
        p = {*sds, *sd1, *tl};
        if (const std::string problem = p.Check(); !problem.empty()) {
            err << "--asce: " << problem << '\n';
            return kExitBadOption;
        }
        choices.target = SampleAsceTwoPeriod(p, longest);
    }
    if (!eurocode_.empty()) {
        ++targets;
        const std::vector<std::string> parts = SplitAtCommas(eurocode_);
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
            err << "--ec8 takes TYPE,GROUND,AG[,XI]: type 1 or 2, ground A to E, a_g in g, "
                   "damping in percent (5 when left out), e.g. 1,B,0.25\n";
            return kExitBadOption;
        }
        if (const std::string problem = p.Check(); !problem.empty()) {
            err << "--ec8: " << problem << '\n';
            return kExitBadOption;
        }
        choices.target = SampleEurocodeElastic(p, longest);
    }
    if (targets > 1) {
        err << "Give one target: --target, --asce or --ec8\n";
        return kExitBadOption;
    }

    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }
    if (what_ == "spectra") {
        AnnounceLongWork(outcome.records, analysis,
                         checkedMean_ ? 1 : analysis.dampingRatios.size(), err);
    }
    const std::unique_ptr<QApplication> qt = StartQt();

    const QString suffix = QStringLiteral(".") + figures::ImageFormatSuffix(choices.format);
    const std::filesystem::path folder(import_.outputFolder);
    ReportPathPlanner planner;
    int exitCode = outcome.readerFailed || outcome.correctionFailed ? kExitFailure : kExitOk;
    const auto save = [&](const std::string& sourceName, const std::string& kindSuffix,
                          const std::vector<ChartFigure>& stacked) {
        const std::filesystem::path path =
            planner.Next(folder, sourceName, kindSuffix + suffix.toStdString());
        figures::SaveFigures(QString::fromStdString(path.string()), stacked, choices.format,
                             choices.image);
        out << ShownText(path.string()) << '\n';
    };
    const auto bandsFor = [&](const TimeHistory& record) {
        if (noBands_) {
            return std::vector<UntrustedBand>{};
        }
        // A corner given on the command line is that of a filter applied before the file was
        // written; else the filter applied here, if any.
        std::optional<double> corner = choices.highPassCorner;
        if (!corner && record.IsCorrected() && record.Filter()) {
            corner = record.Filter()->HighPassCorner();
        }
        return UntrustedPeriodBands(RecordSpan{record.TimeStep(), record.SampleCount(), corner},
                                    analysis.settings);
    };

    try {
        if (what_ == "rotd") {
            const int code = PlotRotatedSpectra(
                {import_, outcome, analysis, choices.format, choices.image, chart, choices.target},
                out, err);
            return code == kExitOk ? exitCode : code;
        }
        if (what_ == "records") {
            for (int i = 0; i < outcome.records.Count(); ++i) {
                const TimeHistory& record = outcome.records.At(i);
                const std::array<ChartFigure, 3> charts = figures::TimeHistoryCharts(
                    record, static_cast<std::size_t>(choices.image.size.width()));
                save(record.SourceFileName(), "_TH", {charts.begin(), charts.end()});
            }
            return exitCode;
        }

        if (!checkedMean_) {
            for (int i = 0; i < outcome.records.Count(); ++i) {
                const TimeHistory& record = outcome.records.At(i);
                const SpectraResult result = ComputeSpectra(
                    record, analysis.settings, analysis.dampingRatios, analysis.periods);
                for (const SpectraRunFailure& failure : result.failures) {
                    err << "Error calculation for DampingRatio: "
                        << FormatGeneral(failure.dampingRatio)
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
                figures::SpectrumChartOptions options = chart;
                options.title = QString::fromStdString(record.SourceFileName());
                options.bands = bandsFor(record);
                save(record.SourceFileName(), "_RS", {figures::SpectrumChart(curves, options)});
            }
            return exitCode;
        }

        if (outcome.records.IsEmpty()) {
            return exitCode;
        }
        std::vector<const TimeHistory*> records;
        for (int i = 0; i < outcome.records.Count(); ++i) {
            records.push_back(&outcome.records.At(i));
        }
        const double zeta = analysis.dampingRatios.front();
        const SuiteSpectra suite =
            ComputeSuiteSpectra(records, analysis.settings, zeta, analysis.periods);
        for (const std::string& failed : suite.failedRecords) {
            err << "No spectrum for " << ShownTextCut(failed, 255)
                << ": a run could not be computed\n";
            exitCode = kExitFailure;
        }
        std::vector<figures::SpectrumCurve> curves =
            figures::CurvesOfSuite(suite, choices.statistics);
        if (choices.target) {
            curves.push_back(figures::CurveOfTarget(*choices.target, analysis.settings.g));
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
        figures::SpectrumChartOptions options = chart;
        options.title = QStringLiteral("%1 records, damping %2%")
                            .arg(suite.recordNames.size())
                            .arg(QString::fromStdString(FormatNumber(zeta * 100, "0.###")));
        // The band every record shares: the shortest record's long-period limit.
        const TimeHistory* shortest = records.front();
        for (const TimeHistory* record : records) {
            if (record->SampleCount() * record->TimeStep() <
                shortest->SampleCount() * shortest->TimeStep()) {
                shortest = record;
            }
        }
        options.bands = bandsFor(*shortest);
        const std::string first = records.front()->SourceFileName();
        save(first, "_mean_RS", {figures::SpectrumChart(curves, options)});
        if (statisticsCsv_) {
            ReportLines lines;
            BuildSuiteStatisticsReport(lines, *records.front(), suite.statistics, kSoftwareEdition,
                                       TodayLocalDate());
            const std::filesystem::path path =
                planner.Next(folder, first, kSuiteStatisticsReportSuffix);
            WriteReport(path, lines);
            out << ShownText(path.string()) << '\n';
        }
    } catch (const ReportWriteError& error) {
        err << error.what() << '\n';
        return kExitFailure;
    }
    return exitCode;
}

}  // namespace travik::cli
