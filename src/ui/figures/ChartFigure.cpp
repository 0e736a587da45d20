#include "ui/figures/ChartFigure.h"

#include <QAreaSeries>
#include <QBrush>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/analysis/OscillatorIntegrators.h"
#include "ui/figures/FigureLegend.h"

namespace travik::figures {
namespace {

const QColor kGuideColor(150, 150, 150);
const QColor kGuideLabelColor(90, 90, 90);
const QColor kBandColor(120, 120, 120, 55);

bool Finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Text sizes in logical pixels (1/96 in), not points. A figure is laid out in logical
// pixels and painted through a scale of device pixels per logical pixel; a point size
// would be converted by the device's resolution once more, so that at 200 DPI every text
// came out twice too big and the axis texts were cut to "…".
// Below this logical height a chart gives its title's line to the plot.
constexpr double kUntitledBelowHeight = 170.0;

struct TextPixels {
    int label;
    int axisTitle;
    int chartTitle;
    int legend;
};
constexpr TextPixels kFullText{11, 12, 14, 11};
// A chart as short as the records page's three leaves room for its curves with these.
constexpr TextPixels kCompactText{9, 10, 11, 9};
// A chart too short for a title: the value axis' title must still run whole beside a plot
// of about a hundred pixels.
constexpr TextPixels kShortText{9, 9, 11, 9};
constexpr int kGuideLabelPixels = 9;
// The chart layout's own edge around its background before a compact layout removed it
// (left, top, right, bottom as a rectangle's four numbers).
constexpr const char* kFullEdgeProperty = "travikFullEdge";
constexpr const char* kTitleProperty = "travikTitle";
// The margins a chart had before a compact layout made them narrow.
constexpr const char* kFullMarginsProperty = "travikFullMargins";

QFont PixelFont(int pixels, bool bold) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A round step of about `span / 6`: 1, 2 or 5 times a power of ten.
double NiceStep(double span) {
    const double raw = span / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * magnitude >= raw) {
            return m * magnitude;
        }
    }
    return 10 * magnitude;
}

// Beyond these magnitudes the axes' own arithmetic (a decade above the highest value, a
// hair's margin, the tick steps) overflows and the chart library recurses without end, so
// no range reaches them, whatever the data hold.
constexpr double kLargestAxisMagnitude = 1e300;
constexpr double kSmallestLogAxisValue = 1e-300;

void FitLinear(double& low, double& high) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = std::isfinite(low) ? low : 0.0;
        high = std::isfinite(high) ? high : low + 1.0;
    }
    low = std::clamp(low, -kLargestAxisMagnitude, kLargestAxisMagnitude);
    high = std::clamp(high, -kLargestAxisMagnitude, kLargestAxisMagnitude);
    if (!(high > low)) {
        const double pad = low == 0 ? 1.0 : std::fabs(low) * 0.5;
        low -= pad;
        high += pad;
    }
    const double step = NiceStep(high - low);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
}

void FitLog(double& low, double& high) {
    low = std::isfinite(low) ? std::clamp(low, 0.0, kLargestAxisMagnitude / 10) : 0.0;
    high = std::isfinite(high) ? std::min(high, kLargestAxisMagnitude) : 0.0;
    if (low > 0 && low < kSmallestLogAxisValue) {
        low = kSmallestLogAxisValue;
    }
    if (high > 0 && high < kSmallestLogAxisValue * 10) {
        high = kSmallestLogAxisValue * 10;
    }
    if (!(low > 0)) {
        low = high > 0 ? high / 10 : 1;
    }
    if (!(high > 0)) {
        high = low * 10;
    }
    low = std::pow(10.0, std::floor(std::log10(low) + 1e-9));
    high = std::pow(10.0, std::ceil(std::log10(high) - 1e-9));
    if (!(high > low)) {
        high = low * 10;
    }
}

// Share of a linear range left beyond its extreme points for marks sitting on them: half a
// mark of a chart as short as the page's smallest.
constexpr double kMarkRoom = 0.06;

void Widen(double dataLow, double dataHigh, double& low, double& high) {
    const double room = (high - low) * kMarkRoom;
    low = std::min(low, dataLow - room);
    high = std::max(high, dataHigh + room);
}

void LeaveMarkRoom(const ChartFigure& figure, double& xmin, double& xmax, double& ymin,
                   double& ymax) {
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
    for (const Curve& curve : figure.curves) {
        for (const QPointF& p : curve.points) {
            if (Finite(p)) {
                x0 = std::min(x0, p.x());
                x1 = std::max(x1, p.x());
                y0 = std::min(y0, p.y());
                y1 = std::max(y1, p.y());
            }
        }
    }
    if (!std::isfinite(x0)) {
        return;
    }
    if (figure.xScale == AxisScale::Linear) {
        Widen(x0, x1, xmin, xmax);
    }
    if (figure.yScale == AxisScale::Linear) {
        Widen(y0, y1, ymin, ymax);
    }
}

QAbstractAxis* MakeAxis(AxisScale scale, const QString& title, double low, double high) {
    const QFont titleFont = PixelFont(kFullText.axisTitle, true);
    const QFont labelFont = PixelFont(kFullText.label, false);
    if (scale == AxisScale::Log) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        // The default format prints decades below 1 as "0.0".
        axis->setLabelFormat(QStringLiteral("%g"));
        axis->setMinorTickCount(8);
        axis->setMinorGridLineVisible(true);
        axis->setMinorGridLinePen(QPen(QColor(225, 225, 225), 0.5));
        // A hair wider than the decades, so that rounding in log10 never drops the label of
        // the first or last decade.
        axis->setRange(low * (1 - 1e-9), high * (1 + 1e-9));
        axis->setTitleText(title);
        axis->setTitleFont(titleFont);
        axis->setLabelsFont(labelFont);
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    // Ticks at round values counted from 0, whatever the range (after a zoom, too).
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(NiceStep(high - low));
    axis->setMinorTickCount(1);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setTitleText(title);
    axis->setTitleFont(titleFont);
    axis->setLabelsFont(labelFont);
    return axis;
}

// Where a guide line is labelled: just inside one edge of the plot area.
enum class Edge { Top, Bottom, Left, Right };

struct GuideLabel {
    QGraphicsSimpleTextItem* item = nullptr;
    QPointF value;  // the line's crossing with the edge, in axis units
    Edge edge = Edge::Top;
};

// Keeps the guide labels at their crossings whenever the chart is laid out again.
class GuideLabeller : public QObject {
  public:
    GuideLabeller(QChart* chart, QAbstractSeries* reference)
        : QObject(chart), chart_(chart), reference_(reference) {
        connect(chart, &QChart::plotAreaChanged, this, [this] { Place(); });
    }
    void Add(const QString& text, QPointF value, Edge edge) {
        auto* item = new QGraphicsSimpleTextItem(text, chart_);
        item->setFont(PixelFont(kGuideLabelPixels, false));
        item->setBrush(kGuideLabelColor);
        item->setZValue(10);
        labels_.push_back({item, value, edge});
    }
    void Place() {
        const QRectF area = chart_->plotArea();
        // A label that would overlap one placed before it is left out.
        std::vector<QRectF> placed;
        for (const GuideLabel& label : labels_) {
            const QPointF at = chart_->mapToPosition(label.value, reference_);
            const QRectF box = label.item->boundingRect();
            QPointF pos;
            switch (label.edge) {
                case Edge::Top:
                    pos = {at.x() - box.width() / 2, area.top() + 2};
                    break;
                case Edge::Bottom:
                    pos = {at.x() - box.width() / 2, area.bottom() - box.height() - 2};
                    break;
                case Edge::Left:
                    pos = {area.left() + 3, at.y() - box.height() / 2};
                    break;
                case Edge::Right:
                    pos = {area.right() - box.width() - 3, at.y() - box.height() / 2};
                    break;
            }
            pos.setX(std::clamp(pos.x(), area.left(),
                                std::max(area.left(), area.right() - box.width())));
            pos.setY(std::clamp(pos.y(), area.top(),
                                std::max(area.top(), area.bottom() - box.height())));
            label.item->setPos(pos);
            const QRectF rect(pos, box.size());
            const bool overlaps =
                std::any_of(placed.begin(), placed.end(),
                            [&rect](const QRectF& r) { return r.intersects(rect); });
            label.item->setVisible(!overlaps);
            if (!overlaps) {
                placed.push_back(rect);
            }
        }
    }

  private:
    QChart* chart_;
    QAbstractSeries* reference_;
    std::vector<GuideLabel> labels_;
};

// A straight line y = c x^p (p = +-1 on log-log axes, p = 1 through the origin on linear
// ones) across the range, and where it crosses each edge of the range.
struct GuideLine {
    double c;
    int power;  // +1 or -1
    double Y(double x) const { return power > 0 ? c * x : c / x; }
    double X(double y) const { return power > 0 ? y / c : c / y; }
};

std::optional<QPointF> Crossing(const GuideLine& line, const QRectF& r, Edge edge) {
    const double xmin = r.left(), xmax = r.right(), ymin = r.top(), ymax = r.bottom();
    QPointF p;
    switch (edge) {
        case Edge::Top:
            p = {line.X(ymax), ymax};
            break;
        case Edge::Bottom:
            p = {line.X(ymin), ymin};
            break;
        case Edge::Left:
            p = {xmin, line.Y(xmin)};
            break;
        case Edge::Right:
            p = {xmax, line.Y(xmax)};
            break;
    }
    if (!Finite(p) || p.x() < xmin * (1 - 1e-9) || p.x() > xmax * (1 + 1e-9) ||
        p.y() < ymin * (1 - 1e-9) || p.y() > ymax * (1 + 1e-9)) {
        return std::nullopt;
    }
    return p;
}

// 1, 2 and 5 times the powers of ten from `low` to `high`.
std::vector<double> OneTwoFive(double low, double high) {
    std::vector<double> values;
    if (!(low > 0) || !(high > low)) {
        return values;
    }
    for (int k = static_cast<int>(std::floor(std::log10(low))) - 1;
         k <= static_cast<int>(std::ceil(std::log10(high))) + 1; ++k) {
        for (const double m : {1.0, 2.0, 5.0}) {
            const double v = m * std::pow(10.0, k);
            if (v >= low && v <= high) {
                values.push_back(v);
            }
        }
    }
    return values;
}

bool IsDecade(double v) {
    const double l = std::log10(v);
    return std::fabs(l - std::round(l)) < 1e-9;
}

// The part of a guide line inside the range, as its two ends: a line drawn beyond the plot
// would be clipped on the screen and in a PNG, but not in every SVG renderer.
std::optional<std::pair<QPointF, QPointF>> GuideInside(const GuideLine& line, const QRectF& r) {
    double from = r.left();
    double to = r.right();
    // y = c x^p grows with x when p > 0 and falls when p < 0 (c > 0, x > 0).
    const double atLow = line.X(r.top());
    const double atHigh = line.X(r.bottom());
    if (line.power > 0) {
        from = std::max(from, atLow);
        to = std::min(to, atHigh);
    } else {
        from = std::max(from, atHigh);
        to = std::min(to, atLow);
    }
    if (!(to > from) || !std::isfinite(from) || !std::isfinite(to)) {
        return std::nullopt;
    }
    return std::make_pair(QPointF(from, line.Y(from)), QPointF(to, line.Y(to)));
}

QLineSeries* AddGuide(QChart* chart, const GuideLine& line, const QRectF& r, bool strong,
                      QAbstractAxis* ax, QAbstractAxis* ay) {
    auto* series = new QLineSeries;
    // On linear axes a line through the origin starts there (r.left() is 0).
    if (const auto ends = GuideInside(line, r)) {
        series->append(ends->first);
        series->append(ends->second);
    }
    QPen pen(kGuideColor, strong ? 0.9 : 0.5);
    pen.setStyle(strong ? Qt::SolidLine : Qt::DotLine);
    series->setPen(pen);
    chart->addSeries(series);
    series->attachAxis(ax);
    series->attachAxis(ay);
    for (QLegendMarker* marker : chart->legend()->markers(series)) {
        marker->setVisible(false);
    }
    return series;
}

void AddTripartite(QChart* chart, const QRectF& r, bool frequency, double g, QAbstractAxis* ax,
                   QAbstractAxis* ay) {
    const double xmin = r.left(), xmax = r.right(), ymin = r.top(), ymax = r.bottom();
    // PSv = omega Sd = omega PSa g / omega^2. Against period: Sd lines PSv = 2 pi Sd / T,
    // PSa lines PSv = PSa g T / (2 pi); against frequency the powers swap.
    const double sdLow = frequency ? ymin / (kTwoPi * xmax) : ymin * xmin / kTwoPi;
    const double sdHigh = frequency ? ymax / (kTwoPi * xmin) : ymax * xmax / kTwoPi;
    const double psaLow = frequency ? ymin * kTwoPi * xmin / g : ymin * kTwoPi / (g * xmax);
    const double psaHigh = frequency ? ymax * kTwoPi * xmax / g : ymax * kTwoPi / (g * xmin);
    GuideLabeller* labeller = nullptr;
    const auto label = [&](QLineSeries* series, const GuideLine& line, const QString& text,
                           std::initializer_list<Edge> edges) {
        if (labeller == nullptr) {
            labeller = new GuideLabeller(chart, series);
        }
        for (const Edge edge : edges) {
            if (const std::optional<QPointF> at = Crossing(line, r, edge)) {
                labeller->Add(text, *at, edge);
                return;
            }
        }
    };
    for (const double sd : OneTwoFive(sdLow, sdHigh)) {
        const GuideLine line = frequency ? GuideLine{kTwoPi * sd, 1} : GuideLine{kTwoPi * sd, -1};
        QLineSeries* series = AddGuide(chart, line, r, IsDecade(sd), ax, ay);
        if (IsDecade(sd)) {
            label(series, line, GuideNumber(sd) + QStringLiteral(" cm"),
                  {Edge::Bottom, Edge::Left, Edge::Right});
        }
    }
    for (const double psa : OneTwoFive(psaLow, psaHigh)) {
        const GuideLine line =
            frequency ? GuideLine{psa * g / kTwoPi, -1} : GuideLine{psa * g / kTwoPi, 1};
        QLineSeries* series = AddGuide(chart, line, r, IsDecade(psa), ax, ay);
        if (IsDecade(psa)) {
            label(series, line, GuideNumber(psa) + QStringLiteral(" g"),
                  {Edge::Top, Edge::Right, Edge::Left});
        }
    }
    if (labeller != nullptr) {
        labeller->Place();
    }
}

void AddAdrsPeriods(QChart* chart, const QRectF& r, double g, QAbstractAxis* ax,
                    QAbstractAxis* ay) {
    GuideLabeller* labeller = nullptr;
    for (const double t : {0.1, 0.2, 0.3, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 10.0}) {
        const double omega = kTwoPi / t;
        const GuideLine line{omega * omega / g, 1};  // PSa = omega^2 Sd / g
        std::optional<QPointF> end = Crossing(line, r, Edge::Top);
        Edge edge = Edge::Top;
        if (!end) {
            end = Crossing(line, r, Edge::Right);
            edge = Edge::Right;
        }
        if (!end) {
            continue;
        }
        QLineSeries* series = AddGuide(chart, line, r, true, ax, ay);
        if (labeller == nullptr) {
            labeller = new GuideLabeller(chart, series);
        }
        labeller->Add(QStringLiteral("T = ") + GuideNumber(t) + QStringLiteral(" s"), *end, edge);
    }
    if (labeller != nullptr) {
        labeller->Place();
    }
}

// The legend's entries: the named bands, then the named curves, in drawing order; a curve
// on log axes says how many of its points were left out. Dashed and dotted statistics and
// targets are told apart by their line.
std::vector<LegendEntry> LegendEntries(const ChartFigure& figure) {
    std::vector<LegendEntry> entries;
    for (const Band& band : figure.bands) {
        if (!band.name.isEmpty()) {
            entries.push_back({band.name, kBandColor, 0, Qt::SolidLine, 0, true});
        }
    }
    for (const Curve& curve : figure.curves) {
        if (!curve.name.isEmpty()) {
            const PreparedCurve prepared = PrepareForAxes(curve, figure.xScale, figure.yScale);
            entries.push_back({prepared.curve.name, curve.color, curve.width, curve.style,
                               curve.markerSize, false});
        }
    }
    return entries;
}

}  // namespace

QString GuideNumber(double value) {
    return QString::number(value, 'g', 6);
}

PreparedCurve PrepareForAxes(const Curve& curve, AxisScale xScale, AxisScale yScale) {
    PreparedCurve prepared;
    prepared.curve = curve;
    prepared.curve.points.clear();
    prepared.curve.points.reserve(curve.points.size());
    for (const QPointF& p : curve.points) {
        if (!Finite(p)) {
            continue;
        }
        if ((xScale == AxisScale::Log && !(p.x() > 0)) ||
            (yScale == AxisScale::Log && !(p.y() > 0))) {
            ++prepared.leftOut;
            continue;
        }
        prepared.curve.points.append(p);
    }
    if (prepared.leftOut > 0 && !curve.name.isEmpty()) {
        prepared.curve.name += QStringLiteral(" (%1 point%2 <= 0 left out)")
                                   .arg(prepared.leftOut)
                                   .arg(prepared.leftOut == 1 ? "" : "s");
    }
    return prepared;
}

QRectF FittedRange(const ChartFigure& figure) {
    if (figure.view) {
        return *figure.view;
    }
    double xmin = std::numeric_limits<double>::infinity(), xmax = -xmin;
    double ymin = xmin, ymax = -xmin;
    for (const Curve& curve : figure.curves) {
        const PreparedCurve prepared = PrepareForAxes(curve, figure.xScale, figure.yScale);
        for (const QPointF& p : prepared.curve.points) {
            xmin = std::min(xmin, p.x());
            xmax = std::max(xmax, p.x());
            ymin = std::min(ymin, p.y());
            ymax = std::max(ymax, p.y());
        }
    }
    if (!std::isfinite(xmin)) {
        xmin = figure.xScale == AxisScale::Log ? 0.1 : 0;
        xmax = figure.xScale == AxisScale::Log ? 10 : 1;
        ymin = figure.yScale == AxisScale::Log ? 0.1 : 0;
        ymax = figure.yScale == AxisScale::Log ? 10 : 1;
    }
    if (figure.xScale == AxisScale::Log) {
        FitLog(xmin, xmax);
    } else {
        // Spectra and records start at the period, frequency or time 0.
        if (xmin >= 0) {
            xmin = 0;
        }
        FitLinear(xmin, xmax);
    }
    if (figure.yScale == AxisScale::Log) {
        FitLog(ymin, ymax);
    } else {
        if (ymin >= 0) {
            ymin = 0;
        }
        FitLinear(ymin, ymax);
    }
    if (figure.markRoom) {
        LeaveMarkRoom(figure, xmin, xmax, ymin, ymax);
    }
    // QRectF keeps (left, top) = (xmin, ymin) and (right, bottom) = (xmax, ymax).
    return QRectF(QPointF(xmin, ymin), QPointF(xmax, ymax));
}

void FitChartToSize(QChart* chart, const QSizeF& logicalSize) {
    const bool compact = logicalSize.height() < kCompactBelowHeight;
    const bool untitled = logicalSize.height() < kUntitledBelowHeight;
    const TextPixels& text = untitled ? kShortText : compact ? kCompactText : kFullText;
    chart->setTitleFont(PixelFont(text.chartTitle, true));
    // A chart shorter than this gives its title's line to the plot, so that the value
    // axis keeps its whole title and numbered ticks (the records page's three charts at
    // the window's smallest; the record's name stands in its list beside them).
    const QString title = chart->property(kTitleProperty).toString();
    chart->setTitle(untitled ? QString() : title);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setTitleFont(PixelFont(text.axisTitle, true));
        axis->setLabelsFont(PixelFont(text.label, false));
    }
    if (!chart->property(kFullMarginsProperty).isValid()) {
        chart->setProperty(kFullMarginsProperty, QVariant::fromValue(chart->margins()));
    }
    chart->setMargins(compact ? QMargins(4, 2, 6, 2)
                              : chart->property(kFullMarginsProperty).value<QMargins>());
    if (QGraphicsLayout* layout = chart->layout()) {
        if (!chart->property(kFullEdgeProperty).isValid()) {
            qreal left = 0, top = 0, right = 0, bottom = 0;
            layout->getContentsMargins(&left, &top, &right, &bottom);
            chart->setProperty(kFullEdgeProperty, QRectF(left, top, right, bottom));
        }
        const QRectF edge = chart->property(kFullEdgeProperty).toRectF();
        if (compact) {
            layout->setContentsMargins(0, 0, 0, 0);
        } else {
            layout->setContentsMargins(edge.x(), edge.y(), edge.width(), edge.height());
        }
    }
    // A suite's list of records, and any legend of a chart too short to spare rows below
    // its plot, reads better beside it while that leaves the plot most of the width.
    if (auto* legend = chart->findChild<FigureLegend*>()) {
        legend->Fit(logicalSize, PixelFont(text.legend, false),
                    compact || legend->EntryCount() > 5);
    }
}

QChart* BuildChart(const ChartFigure& figure, const QSizeF& logicalSize) {
    auto* chart = new QChart;
    chart->setProperty(kTitleProperty, figure.title);
    chart->setTitle(figure.title);
    if (figure.whiteBackground) {
        chart->setBackgroundBrush(Qt::white);
        chart->setBackgroundRoundness(0);
    }
    // Qt's legend cuts texts that do not fit; the figure's own legend wraps them.
    chart->legend()->setVisible(false);
    chart->setAnimationOptions(QChart::NoAnimation);

    const QRectF r = FittedRange(figure);
    QAbstractAxis* ax = MakeAxis(figure.xScale, figure.xTitle, r.left(), r.right());
    QAbstractAxis* ay = MakeAxis(figure.yScale, figure.yTitle, r.top(), r.bottom());
    chart->addAxis(ax, Qt::AlignBottom);
    chart->addAxis(ay, Qt::AlignLeft);

    for (const Band& band : figure.bands) {
        const double from = std::max(band.from, r.left());
        const double to = std::min(band.to, r.right());
        if (!(to > from)) {
            continue;
        }
        // An area series does not own its edge lines: they are made its children, so that
        // they go with it.
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        upper->append(from, r.bottom());
        upper->append(to, r.bottom());
        lower->append(from, r.top());
        lower->append(to, r.top());
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(band.name);
        area->setBrush(kBandColor);
        area->setPen(Qt::NoPen);
        area->setProperty("travikTooltip", band.tooltip);
        chart->addSeries(area);
        area->attachAxis(ax);
        area->attachAxis(ay);
    }

    switch (figure.overlay) {
        case Overlay::TripartitePeriod:
        case Overlay::TripartiteFrequency:
            if (figure.xScale == AxisScale::Log && figure.yScale == AxisScale::Log) {
                AddTripartite(chart, r, figure.overlay == Overlay::TripartiteFrequency, figure.g,
                              ax, ay);
            }
            break;
        case Overlay::AdrsPeriods:
            AddAdrsPeriods(chart, r, figure.g, ax, ay);
            break;
        case Overlay::None:
            break;
    }

    for (const Curve& curve : figure.curves) {
        const PreparedCurve prepared = PrepareForAxes(curve, figure.xScale, figure.yScale);
        QXYSeries* series = nullptr;
        if (curve.markerSize > 0) {
            auto* marks = new QScatterSeries;
            marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
            marks->setMarkerSize(curve.markerSize);
            marks->setColor(curve.color);
            // A dark rim keeps a light mark (yellow) visible on white.
            marks->setBorderColor(curve.color.darker(170));
            series = marks;
        } else {
            series = new QLineSeries;
            QPen pen(curve.color, curve.width);
            pen.setStyle(curve.style);
            pen.setCapStyle(Qt::FlatCap);
            series->setPen(pen);
        }
        series->setName(prepared.curve.name);
        series->replace(prepared.curve.points);
        chart->addSeries(series);
        series->attachAxis(ax);
        series->attachAxis(ay);
        if (curve.name.isEmpty()) {
            for (QLegendMarker* marker : chart->legend()->markers(series)) {
                marker->setVisible(false);
            }
        }
    }
    if (figure.legend) {
        std::vector<LegendEntry> entries = LegendEntries(figure);
        if (!entries.empty()) {
            new FigureLegend(chart, std::move(entries));  // owned by the chart
        }
    }
    FitChartToSize(chart, logicalSize);
    return chart;
}

QString BandTooltipAt(const ChartFigure& figure, double x) {
    QString text;
    for (const Band& band : figure.bands) {
        if (x >= band.from && x <= band.to) {
            text += text.isEmpty() ? band.tooltip : QStringLiteral("\n") + band.tooltip;
        }
    }
    return text;
}

}  // namespace travik::figures
