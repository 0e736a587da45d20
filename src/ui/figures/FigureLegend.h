#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <vector>

class QChart;
class QGraphicsItem;
class QGraphicsSimpleTextItem;

namespace travik::figures {

// One legend entry: its text and how its curve, mark or band is drawn.
struct LegendEntry {
    QString text;
    QColor color = Qt::black;
    qreal width = 2.0;
    Qt::PenStyle style = Qt::SolidLine;
    qreal markerSize = 0.0;  // above 0: a round mark
    bool band = false;       // a shaded band
};

// A chart's legend that never cuts a text. Beside the plot when it is narrow enough to
// leave the plot at least 70 % of the chart's width (and the chart asks for it), else
// below the plot, its entries in rows as wide as the chart and a text wider than a row
// wrapped at its blanks. It reserves its room in the chart's margins and follows the plot
// whenever the chart is laid out again.
class FigureLegend : public QObject {
    Q_OBJECT
  public:
    FigureLegend(QChart* chart, std::vector<LegendEntry> entries);

    // Lays the legend out for a chart of this logical size with this font; `preferBeside`
    // puts it beside the plot where it fits there.
    void Fit(const QSizeF& logicalSize, const QFont& font, bool preferBeside);

    bool IsBeside() const { return beside_; }
    std::size_t EntryCount() const { return entries_.size(); }
    // The entries' texts as shown, lines joined by "\n" where a text was wrapped.
    QStringList ShownTexts() const;

  private:
    struct Item {
        QGraphicsItem* sample = nullptr;
        QGraphicsSimpleTextItem* label = nullptr;
    };
    void Place();

    QChart* chart_;
    std::vector<LegendEntry> entries_;
    std::vector<Item> items_;
    bool beside_ = false;
    qreal sampleWidth_ = 20.0;
    qreal gap_ = 6.0;
    qreal lineHeight_ = 14.0;
    qreal rowWidth_ = 0.0;  // room for the entries across the chart, below the plot
    qreal besideWidth_ = 0.0;
};

}  // namespace travik::figures
