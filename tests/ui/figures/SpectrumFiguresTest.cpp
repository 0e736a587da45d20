#include "ui/figures/SpectrumFigures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace travik::figures {
namespace {

constexpr double kTwoPi = 6.2831852;

TimeHistory Record(const std::string& name, double scale) {
    TimeHistory record(name, 0.01);
    for (int i = 0; i < 600; ++i) {
        record.AppendAcceleration(scale * std::sin(i * 0.11) * std::exp(-i * 0.004));
    }
    return record;
}

SpectraResult Analyse(const TimeHistory& record) {
    return ComputeSpectra(record, AnalysisSettings{}, {0.02, 0.05}, {0.0, 0.1, 0.5, 1.0, 2.0});
}

TEST(SpectrumChart, PlotsTheChosenAxesAndSkipsThePeriodZeroRowOnLogAxes) {
    const TimeHistory record = Record("quake.txt", 0.3);
    const SpectraResult result = Analyse(record);
    const std::vector<SpectrumCurve> curves = {CurveOfResult(result, 0, '.'),
                                               CurveOfResult(result, 1, '.')};
    EXPECT_EQ(curves[1].name, "Damp. 5%");

    SpectrumChartOptions options;
    options.ordinate = 2;  // Sa
    ChartFigure linear = SpectrumChart(curves, options);
    EXPECT_EQ(linear.xTitle, "Period [sec]");
    EXPECT_EQ(linear.yTitle, "Response Acceleration [g]");
    ASSERT_EQ(linear.curves[1].points.size(), 5);
    EXPECT_EQ(linear.curves[1].points[0], QPointF(0.0, record.PeakAcceleration()));
    EXPECT_EQ(linear.curves[1].points[3], QPointF(1.0, result.columns[2][1][3]));

    options.xScale = AxisScale::Log;
    const ChartFigure logX = SpectrumChart(curves, options);
    ASSERT_EQ(logX.curves[1].points.size(), 4);
    EXPECT_EQ(logX.curves[1].points[0].x(), 0.1);
    // The skipped period-0 row is not counted as left out.
    EXPECT_EQ(PrepareForAxes(logX.curves[1], logX.xScale, logX.yScale).leftOut, 0);

    options.xScale = AxisScale::Linear;
    options.abscissa = 1;  // frequency, without the period-0 row
    const ChartFigure frequency = SpectrumChart(curves, options);
    ASSERT_EQ(frequency.curves[0].points.size(), 4);
    EXPECT_DOUBLE_EQ(frequency.curves[0].points[0].x(), 10.0);
    EXPECT_EQ(frequency.xTitle, "Frequency [HZ]");
}

TEST(SpectrumChart, TripartiteAndAdrsUsePseudoVelocityAndDisplacement) {
    const SpectraResult result = Analyse(Record("quake.txt", 0.3));
    const std::vector<SpectrumCurve> curves = {CurveOfResult(result, 1, '.')};
    SpectrumChartOptions options;
    options.plot = SpectrumPlot::Tripartite;
    const ChartFigure tri = SpectrumChart(curves, options);
    EXPECT_EQ(tri.xScale, AxisScale::Log);
    EXPECT_EQ(tri.yScale, AxisScale::Log);
    EXPECT_EQ(tri.overlay, Overlay::TripartitePeriod);
    EXPECT_EQ(tri.yTitle, "Pseudo-Velocity [cm/sec]");
    ASSERT_EQ(tri.curves[0].points.size(), 4);
    EXPECT_EQ(tri.curves[0].points[1], QPointF(0.5, result.columns[3][1][2]));

    options.tripartiteAgainstFrequency = true;
    const ChartFigure triF = SpectrumChart(curves, options);
    EXPECT_EQ(triF.overlay, Overlay::TripartiteFrequency);
    EXPECT_DOUBLE_EQ(triF.curves[0].points[1].x(), 2.0);

    options.plot = SpectrumPlot::Adrs;
    const ChartFigure adrs = SpectrumChart(curves, options);
    EXPECT_EQ(adrs.xScale, AxisScale::Linear);
    EXPECT_EQ(adrs.overlay, Overlay::AdrsPeriods);
    EXPECT_EQ(adrs.curves[0].points[2], QPointF(result.columns[0][1][3], result.columns[4][1][3]));
}

TEST(SpectrumChart, ShadesBandsOnPeriodAndFrequencyAxesOnly) {
    const std::vector<SpectrumCurve> curves = {
        CurveOfResult(Analyse(Record("q.txt", 0.3)), 0, '.')};
    SpectrumChartOptions options;
    options.bands = {{UntrustedReason::ShortPeriod, 0.0, 0.1, "short"},
                     {UntrustedReason::LongPeriod, 2.995, INFINITY, "long"}};
    const ChartFigure periods = SpectrumChart(curves, options);
    ASSERT_EQ(periods.bands.size(), 2u);
    EXPECT_EQ(periods.bands[1].from, 2.995);
    EXPECT_EQ(periods.bands[1].tooltip, "long");
    options.abscissa = 1;
    const ChartFigure frequencies = SpectrumChart(curves, options);
    ASSERT_EQ(frequencies.bands.size(), 2u);
    EXPECT_DOUBLE_EQ(frequencies.bands[0].from, 10.0);  // 1 / 0.1 s
    EXPECT_TRUE(std::isinf(frequencies.bands[0].to));
    EXPECT_DOUBLE_EQ(frequencies.bands[1].from, 0.0);
    EXPECT_DOUBLE_EQ(frequencies.bands[1].to, 1 / 2.995);
    options.abscissa = 2;
    EXPECT_TRUE(SpectrumChart(curves, options).bands.empty());
}

TEST(TargetCurve, DerivesThePseudoSpectraFromSa) {
    const TargetSpectrum target{"code", {0.0, 1.0, 2.0}, {0.4, 0.5, 0.25}};
    const SpectrumCurve c = CurveOfTarget(target, 980);
    EXPECT_EQ(c.style, Qt::DashLine);
    EXPECT_EQ(c.name, "code");
    // T = 1 s: omega = 6.2831852 rad/s; Sd = 0.5 * 980 / omega^2 = 12.41185 cm,
    // PSv = 0.5 * 980 / omega = 77.98592 cm/sec.
    EXPECT_NEAR(c.kinds[0][1], 12.41185, 1e-5);
    EXPECT_NEAR(c.kinds[3][1], 77.98592, 1e-5);
    EXPECT_EQ(c.kinds[2][1], 0.5);
    EXPECT_EQ(c.kinds[4][2], 0.25);
    EXPECT_EQ(c.kinds[0][0], 0.0);
}

TEST(SuiteCurves, ListEveryRecordThenTheChosenStatistics) {
    const TimeHistory a = Record("a.txt", 0.2);
    const TimeHistory b = Record("b.txt", 0.4);
    const SuiteSpectra suite =
        ComputeSuiteSpectra({&a, &b}, AnalysisSettings{}, 0.05, {0.0, 0.5, 1.0}, {}, nullptr, 1);
    StatisticsChoice show;
    show.median = true;
    show.meanPlusMinusSigma = true;
    show.logMean = true;
    const std::vector<SpectrumCurve> curves = CurvesOfSuite(suite, show);
    ASSERT_EQ(curves.size(), 2u + 5u);
    EXPECT_EQ(curves[0].name, "a.txt");
    EXPECT_EQ(curves[2].name, "Mean");
    EXPECT_EQ(curves[3].name, "Mean + σ");
    EXPECT_EQ(curves[6].name, "Log-normal mean");
    // The mean of r and 2r is 1.5 r, at every kind.
    for (std::size_t kind = 0; kind < 5; ++kind) {
        EXPECT_NEAR(curves[2].kinds[kind][2], 1.5 * curves[0].kinds[kind][2],
                    1e-12 * curves[0].kinds[kind][2]);
    }
    EXPECT_GE(curves[0].width * 200 / 96, 1.5);  // at least 1.5 px at 200 DPI
}

// Relative luminance of a colour (WCAG 2.1, from the sRGB transfer function).
double Luminance(const QColor& c) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

TEST(PrintColors, StandOutFromWhiteAndFromEachOther) {
    for (int k = 0; k < 10; ++k) {
        const QColor c = PrintColor(k);
        EXPECT_GE(1.05 / (Luminance(c) + 0.05), 3.0) << k;  // contrast with white
        for (int j = 0; j < k; ++j) {
            const QColor d = PrintColor(j);
            const double distance =
                std::hypot(c.red() - d.red(), c.green() - d.green(), c.blue() - d.blue());
            EXPECT_GE(distance, 60.0) << j << " and " << k;
        }
    }
    EXPECT_EQ(PrintColor(10), PrintColor(0));
}

}  // namespace
}  // namespace travik::figures
