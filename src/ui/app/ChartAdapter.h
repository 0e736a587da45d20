#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

class QChart;
class QChartView;
class QXYSeries;
class QValueAxis;

// What the windows need from a chart: series by index in creation order, points, titles,
// axis titles, pixel-to-value conversion. Tests read back what was drawn through it.
// Axes scale themselves to the visible points after every change: the new scale is applied
// once control returns to the event loop, or at once when a scale or a pixel conversion is
// asked for, so that filling a long series point by point stays linear.
//
// The adapter keeps every point it was given and reports exactly those. A long line series
// whose abscissas never decrease (a record against time) is drawn from its envelope: the
// lowest and highest point of each of a few thousand slices of the abscissa range, which is
// what a screen can show of it, so that a 100,000-sample record draws in milliseconds.
class ChartAdapter : public QObject {
    Q_OBJECT
  public:
    explicit ChartAdapter(QChartView* view, QObject* parent = nullptr);

    QChartView* View() const { return view_; }

    int SeriesCount() const;
    // A line series joining points in the order they were added (never re-sorted).
    int AddLineSeries(const QColor& color, qreal width = 1.0);
    // A point series drawn as circles; each point may carry its own colour.
    int AddPointSeries(const QColor& defaultColor, qreal markerSize = 9.0);

    void ClearSeries(int index);
    void SetSeriesActive(int index, bool active);  // inactive: not drawn, not in the legend
    bool IsSeriesActive(int index) const;
    void AddPoint(int index, double x, double y);
    void AddPoint(int index, double x, double y, const QColor& color);
    // Replaces all points of a series at once (fast path for long records).
    void SetPoints(int index, const QList<QPointF>& points);
    void SetSeriesTitle(int index, const QString& title);
    QString SeriesTitle(int index) const;
    QColor SeriesColor(int index) const;
    qreal SeriesWidth(int index) const;

    int PointCount(int index) const;
    QPointF Point(int index, int pointIndex) const;
    QColor PointColor(int index, int pointIndex) const;

    void SetBottomAxisTitle(const QString& title);
    void SetLeftAxisTitle(const QString& title);
    QString BottomAxisTitle() const;
    QString LeftAxisTitle() const;

    // The legend lists the active series; charts without series titles may hide it.
    void SetLegendVisible(bool visible);
    bool IsLegendVisible() const;
    // Background shaded from `rightColor` at the right edge to `leftColor` at the left.
    void SetBackgroundGradient(const QColor& rightColor, const QColor& leftColor);

    // Axis values at a pixel position of the chart view's viewport, and the current axis
    // ranges (the automatic scale, brought up to date first).
    QPointF ValueAt(const QPoint& viewPixel) const;
    double BottomMin() const;
    double BottomMax() const;
    double LeftMin() const;
    double LeftMax() const;

    // Applies a pending automatic scale now (before grabbing the view, for instance).
    void UpdateScale() const;

    // Axes for small stacked plots: the value axis gets only as many ticks as its height
    // can label legibly (steps of 1, 2 or 5 times a power of ten, labels with the fewest
    // decimals the step needs), and both axes a margin of half a mark beyond the extreme
    // points, so that marks sitting on them are drawn whole. Off by default.
    void SetCompactAxes(bool compact);
    bool HasCompactAxes() const { return compactAxes_; }

  signals:
    void MouseMoved(const QPoint& viewPixel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct SeriesState {
        QXYSeries* series = nullptr;
        bool isLine = false;
        bool active = true;
        bool drawnAsEnvelope = false;
        std::vector<QPointF> points;  // every point given, in order
        // The bounds of the finite points, worked out once after each change of the points, so
        // that rescaling after a resize costs nothing on a record of a million samples.
        bool boundsKnown = false;
        bool hasFinitePoint = false;
        double xLow = 0.0;
        double xHigh = 0.0;
        double yLow = 0.0;
        double yHigh = 0.0;

        void IncludeInBounds(const QPointF& point);
    };

    SeriesState* StateAt(int index);
    const SeriesState* StateAt(int index) const;
    int Attach(QXYSeries* series, bool isLine);
    void Rescale();
    void ScheduleRescale();
    void PlotAreaChanged(const QRectF& area);

    QChartView* view_;
    QChart* chart_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<SeriesState> series_;
    mutable bool scaleDirty_ = false;
    bool rescaleQueued_ = false;
    bool compactAxes_ = false;
    QSizeF scaledForPlot_;  // the plot area size the compact scale was computed for
};
