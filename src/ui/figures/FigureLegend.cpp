#include "ui/figures/FigureLegend.h"

#include <QBrush>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace travik::figures {
namespace {

// A legend beside the plot leaves it at least this share of the chart's width.
constexpr double kPlotShareBesideLegend = 0.7;
// Room around the legend, logical pixels.
constexpr qreal kEdge = 6.0;

// The text broken at blanks into lines no wider than `width` (a single word wider than
// that stays whole on its own line).
QString Wrapped(const QString& text, const QFontMetricsF& metrics, qreal width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.append(line);
    return lines.join(QLatin1Char('\n'));
}

QGraphicsItem* Sample(const LegendEntry& entry, qreal width, QGraphicsItem* parent) {
    if (entry.band) {
        auto* rect = new QGraphicsRectItem(0, -4, width, 8, parent);
        rect->setBrush(entry.color);
        rect->setPen(Qt::NoPen);
        return rect;
    }
    if (entry.markerSize > 0) {
        const qreal d = std::min<qreal>(entry.markerSize, 10);
        auto* mark = new QGraphicsEllipseItem(width / 2 - d / 2, -d / 2, d, d, parent);
        mark->setBrush(entry.color);
        mark->setPen(QPen(entry.color.darker(170), 1));
        return mark;
    }
    auto* line = new QGraphicsLineItem(0, 0, width, 0, parent);
    QPen pen(entry.color, std::min<qreal>(entry.width, 3));
    pen.setStyle(entry.style);
    line->setPen(pen);
    return line;
}

}  // namespace

FigureLegend::FigureLegend(QChart* chart, std::vector<LegendEntry> entries)
    : QObject(chart), chart_(chart), entries_(std::move(entries)) {
    for (const LegendEntry& entry : entries_) {
        Item item;
        item.sample = Sample(entry, sampleWidth_, chart);
        item.label = new QGraphicsSimpleTextItem(entry.text, chart);
        item.sample->setZValue(20);
        item.label->setZValue(20);
        items_.push_back(item);
    }
    connect(chart, &QChart::plotAreaChanged, this, [this] { Place(); });
}

void FigureLegend::Fit(const QSizeF& logicalSize, const QFont& font, bool preferBeside) {
    const QFontMetricsF metrics(font);
    lineHeight_ = metrics.height();
    gap_ = metrics.averageCharWidth();
    qreal widest = 0;
    for (const LegendEntry& entry : entries_) {
        widest = std::max(widest, metrics.horizontalAdvance(entry.text));
    }
    besideWidth_ = sampleWidth_ + gap_ + widest + 2 * kEdge;
    const qreal besideHeight = static_cast<qreal>(entries_.size()) * lineHeight_ * 1.3;
    beside_ = preferBeside && !entries_.empty() &&
              besideWidth_ <= (1 - kPlotShareBesideLegend) * logicalSize.width() &&
              besideHeight <= logicalSize.height() - 2 * kEdge;
    rowWidth_ = logicalSize.width() - 2 * kEdge;
    // Texts wider than a row are wrapped, so that an entry always fits across the chart.
    const qreal textRoom = std::max<qreal>(rowWidth_ - sampleWidth_ - gap_, 4 * gap_);
    for (std::size_t k = 0; k < items_.size(); ++k) {
        items_[k].label->setFont(font);
        items_[k].label->setText(beside_ ? entries_[k].text
                                         : Wrapped(entries_[k].text, metrics, textRoom));
    }
    // The rows the entries take below the plot, and the room they need.
    qreal height = 0;
    if (!beside_ && !entries_.empty()) {
        qreal x = 0;
        qreal rowHeight = 0;
        for (const Item& item : items_) {
            const QSizeF text = item.label->boundingRect().size();
            const qreal entryWidth = sampleWidth_ + gap_ + text.width();
            if (x > 0 && x + entryWidth > rowWidth_) {
                height += rowHeight;
                x = 0;
                rowHeight = 0;
            }
            x += entryWidth + 2 * gap_;
            rowHeight = std::max(rowHeight, text.height() + lineHeight_ * 0.3);
        }
        height += rowHeight;
    }
    QMargins margins = chart_->margins();
    if (beside_) {
        margins.setRight(static_cast<int>(std::ceil(besideWidth_)));
    } else if (!entries_.empty()) {
        margins.setBottom(margins.bottom() + static_cast<int>(std::ceil(height + kEdge)));
    }
    chart_->setMargins(margins);
    Place();
}

void FigureLegend::Place() {
    const QRectF area = chart_->plotArea();
    const QSizeF size = chart_->size();
    if (beside_) {
        qreal y = area.center().y() - static_cast<qreal>(items_.size()) * lineHeight_ * 1.3 / 2;
        const qreal x = size.width() - besideWidth_ + kEdge;
        for (const Item& item : items_) {
            const qreal h = item.label->boundingRect().height();
            item.sample->setPos(x, y + h / 2);
            item.label->setPos(x + sampleWidth_ + gap_, y);
            y += lineHeight_ * 1.3;
        }
        return;
    }
    // Rows from the bottom margin's top, centred across the chart.
    const qreal top = size.height() - chart_->margins().bottom() + kEdge;
    std::vector<std::vector<const Item*>> rows(1);
    std::vector<qreal> rowWidths(1, 0);
    for (const Item& item : items_) {
        const qreal entryWidth = sampleWidth_ + gap_ + item.label->boundingRect().width();
        if (rowWidths.back() > 0 && rowWidths.back() + entryWidth > rowWidth_) {
            rows.emplace_back();
            rowWidths.push_back(0);
        }
        rows.back().push_back(&item);
        rowWidths.back() += entryWidth + 2 * gap_;
    }
    qreal y = top;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        qreal x = std::max<qreal>(kEdge, (size.width() - (rowWidths[r] - 2 * gap_)) / 2);
        qreal rowHeight = 0;
        for (const Item* item : rows[r]) {
            const QSizeF text = item->label->boundingRect().size();
            item->sample->setPos(x, y + std::min(text.height(), lineHeight_) / 2);
            item->label->setPos(x + sampleWidth_ + gap_, y);
            x += sampleWidth_ + gap_ + text.width() + 2 * gap_;
            rowHeight = std::max(rowHeight, text.height() + lineHeight_ * 0.3);
        }
        y += rowHeight;
    }
}

QStringList FigureLegend::ShownTexts() const {
    QStringList texts;
    for (const Item& item : items_) {
        texts.append(item.label->text());
    }
    return texts;
}

}  // namespace travik::figures
