#include <gtest/gtest.h>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

#include "RecordsFixture.h"

namespace {

// Every text the chart shows in its scene (axis labels and titles), as plain text.
QStringList SceneTexts(const QChartView* view) {
    QStringList texts;
    for (const QGraphicsItem* item : view->scene()->items()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item)) {
            if (text->isVisible()) {
                texts.append(text->toPlainText());
            }
        }
    }
    return texts;
}

bool Elided(const QString& text) {
    return text.contains(QChar(0x2026)) || text.contains(QStringLiteral("..."));
}

// The records page at a given window size with a record drawn whose values need labels of
// several digits (tens of cm/sec and cm).
class TimeHistoryCharts : public RecordsFixture {
  protected:
    void ShowAt(const QSize& size) {
        std::vector<double> values(4000);
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = 0.35 * std::sin(0.013 * static_cast<double>(i)) +
                        0.1 * std::sin(0.21 * static_cast<double>(i));
        }
        Import({WriteSamples("wave.txt", values)}, QStringLiteral("0.02"));
        form->show();
        form->resize(size);
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents();
        }
    }

    const QChartView* View(const char* name) { return Records<QChartView>(name); }
};

TEST_F(TimeHistoryCharts, LabelsAndTitlesAreWholeAtEverySizeTheWindowAllows) {
    for (const QSize& size : {QSize(1054, 564), QSize(1, 1), QSize(1300, 700), QSize(1600, 970)}) {
        ShowAt(size);
        for (const char* name : {"cht1", "cht2", "cht3"}) {
            const QStringList texts = SceneTexts(View(name));
            EXPECT_GE(texts.size(), 6) << name;
            for (const QString& text : texts) {
                EXPECT_FALSE(Elided(text)) << name << " at " << form->width() << "x"
                                           << form->height() << ": " << text.toStdString();
            }
            const QString title = Chart(name).Figure().yTitle;
            EXPECT_TRUE(texts.contains(title)) << name << ": " << title.toStdString();
        }
    }
}

TEST_F(TimeHistoryCharts, ValueLabelsAreFewAndShort) {
    ShowAt(QSize(1054, 564));
    for (const char* name : {"cht1", "cht2", "cht3"}) {
        const auto* axis =
            static_cast<const QValueAxis*>(View(name)->chart()->axes(Qt::Vertical).front());
        const double ticks = std::floor((axis->max() - axis->tickAnchor()) / axis->tickInterval()) -
                             std::ceil((axis->min() - axis->tickAnchor()) / axis->tickInterval()) +
                             1;
        EXPECT_GE(ticks, 2) << name;
        EXPECT_LE(ticks, 6) << name;
        // Steps of 1, 2 or 5 times a power of ten: three significant digits at most.
        const double mantissa =
            axis->tickInterval() / std::pow(10.0, std::floor(std::log10(axis->tickInterval())));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << name << " step " << axis->tickInterval();
    }
}

TEST_F(TimeHistoryCharts, MarksOnTheExtremesAreDrawnWhole) {
    ShowAt(QSize(1054, 564));
    for (const char* name : {"cht1", "cht2", "cht3"}) {
        QChart* chart = View(name)->chart();
        const QRectF area = chart->plotArea();
        int marksSeen = 0;
        for (QAbstractSeries* series : chart->series()) {
            auto* marks = qobject_cast<QScatterSeries*>(series);
            if (marks == nullptr) {
                continue;
            }
            const double radius = marks->markerSize() / 2.0;
            for (const QPointF& point : marks->points()) {
                const QPointF at = chart->mapToPosition(point, marks);
                EXPECT_GE(at.x() - area.left(), radius - 0.5) << name;
                EXPECT_GE(area.right() - at.x(), radius - 0.5) << name;
                EXPECT_GE(at.y() - area.top(), radius - 0.5) << name;
                EXPECT_GE(area.bottom() - at.y(), radius - 0.5) << name;
                ++marksSeen;
            }
        }
        EXPECT_EQ(marksSeen, 3) << name;
    }
}

}  // namespace
