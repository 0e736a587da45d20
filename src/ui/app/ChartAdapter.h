#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <vector>

class QChart;
class QChartView;
class QXYSeries;
class QValueAxis;

// What the windows need from a chart: series by index in creation order, points, titles,
// axis titles, pixel-to-value conversion. Tests read back what was drawn through it.
// Axes scale themselves to the visible points after every change.
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

    int PointCount(int index) const;
    QPointF Point(int index, int pointIndex) const;
    QColor PointColor(int index, int pointIndex) const;

    void SetBottomAxisTitle(const QString& title);
    void SetLeftAxisTitle(const QString& title);
    QString BottomAxisTitle() const;
    QString LeftAxisTitle() const;

    // Axis values at a pixel position of the chart view, and the current axis ranges.
    QPointF ValueAt(const QPoint& viewPixel) const;
    double BottomMin() const;
    double BottomMax() const;
    double LeftMin() const;
    double LeftMax() const;

signals:
    void MouseMoved(const QPoint& viewPixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QXYSeries* SeriesAt(int index) const;
    void Rescale();

    QChartView* view_;
    QChart* chart_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<QXYSeries*> series_;
    std::vector<bool> active_;
};
