#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QAbstractAxis;

// A chart over a logarithmic frequency axis, the ordinate logarithmic or linear: the
// Fourier amplitude spectrum on log-log axes, a filter's gain against frequency. Series by
// index in creation order; the adapter keeps every point it was given and reports exactly
// those, drawing only the points a logarithmic axis can show (positive ones). Axes span the
// shown points; labels keep decades below 1 ("0.01", not "0.0").
class LogChart : public QObject {
    Q_OBJECT
  public:
    LogChart(QChartView* view, bool logarithmicOrdinate, QObject* parent = nullptr);

    QChartView* View() const { return view_; }

    int AddLineSeries(const QColor& color, qreal width = 1.0);
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    // Replaces every point of the series.
    void SetPoints(int index, const QList<QPointF>& points);
    void ClearSeries(int index);
    int PointCount(int index) const;
    QPointF Point(int index, int pointIndex) const;
    void SetSeriesTitle(int index, const QString& title);
    QString SeriesTitle(int index) const;

    void SetAxisTitles(const QString& bottom, const QString& left);
    QString BottomAxisTitle() const;
    QString LeftAxisTitle() const;
    bool IsOrdinateLogarithmic() const { return logarithmicOrdinate_; }
    // The axis ranges as drawn.
    double BottomMin() const;
    double BottomMax() const;
    double LeftMin() const;
    double LeftMax() const;

  private:
    struct SeriesState {
        QLineSeries* series = nullptr;
        std::vector<QPointF> points;
    };
    void Rescale();
    bool Drawable(const QPointF& point) const;

    QChartView* view_;
    QChart* chart_;
    QAbstractAxis* axisX_;
    QAbstractAxis* axisY_;
    bool logarithmicOrdinate_;
    std::vector<SeriesState> series_;
};
