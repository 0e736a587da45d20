#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QString>
#include <QTabWidget>
#include <QWidget>
#include <utility>
#include <vector>

#include "ui/app/StringGrid.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/RecordFigures.h"
#include "ui/records/RecordsPage.h"
#include "ui/spectra/SpectraPage.h"

// Tests reach every control by its objectName, as a user's script would, never through a
// window's fields.

// The object named `name` of type T under `root`; a test failure when there is none.
template <class T = QWidget>
T* Child(const QObject* root, const char* name) {
    T* found = root != nullptr ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (found == nullptr) {
        ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name;
    }
    return found;
}

// A control of the records page or of the spectra page of a main window.
template <class T = QWidget>
T* OnRecords(const QObject* form, const char* name) {
    return Child<T>(form->findChild<RecordsPage*>(), name);
}

template <class T = QWidget>
T* OnSpectra(const QObject* form, const char* name) {
    return Child<T>(form->findChild<SpectraPage*>(), name);
}

// What a time-history chart of the records page shows, read back from its figure: series 0
// the raw line, series 1 the corrected line (empty while uncorrected), series 2 the marks
// (first sample, maximum, minimum), each mark with its own colour.
class RecordChart {
  public:
    explicit RecordChart(const travik::figures::FigureView* view) {
        if (view != nullptr) {
            figure_ = view->ShownFigure();
        }
        for (const travik::figures::Curve& curve : figure_.curves) {
            if (curve.markerSize > 0) {
                for (const QPointF& point : curve.points) {
                    marks_.push_back({point, curve.color});
                }
            } else if (curve.name == QStringLiteral("Corrected")) {
                corrected_ = curve.points;
            } else {
                raw_ = curve.points;
            }
        }
    }
    const travik::figures::ChartFigure& Figure() const { return figure_; }
    int PointCount(int series) const {
        return series == 2 ? static_cast<int>(marks_.size())
                           : static_cast<int>(Line(series).size());
    }
    QPointF Point(int series, int index) const {
        return series == 2 ? marks_.at(static_cast<std::size_t>(index)).first
                           : Line(series).at(index);
    }
    QColor PointColor(int index) const { return marks_.at(static_cast<std::size_t>(index)).second; }

  private:
    const QList<QPointF>& Line(int series) const { return series == 0 ? raw_ : corrected_; }

    travik::figures::ChartFigure figure_;
    QList<QPointF> raw_;
    QList<QPointF> corrected_;
    std::vector<std::pair<QPointF, QColor>> marks_;
};

// Runs the handler slot `slot` of `window` (a page, the frame or a dialog) as its signal
// would, for handlers whose signal a test cannot raise without a real pointer or keyboard.
template <class... Args>
void RunHandler(QObject* window, const char* slot, Args... args) {
    const bool run = QMetaObject::invokeMethod(window, slot, Qt::DirectConnection, args...);
    EXPECT_TRUE(run) << "no handler " << slot;
}
