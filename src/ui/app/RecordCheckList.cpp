#include "ui/app/RecordCheckList.h"

#include <QEvent>
#include <cmath>

RecordCheckList::RecordCheckList(QWidget* parent) : QListWidget(parent) {}

bool RecordCheckList::event(QEvent* event) {
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal) {
        FitRowsWithinFrame();
    }
    return handled;
}

void RecordCheckList::FitRowsWithinFrame() {
    const double ratio = devicePixelRatioF();
    const bool fractional = std::abs(ratio - std::round(ratio)) > 1e-6;
    const int margin = fractional ? 1 : 0;
    if (viewportMargins().right() != margin) {
        setViewportMargins(0, 0, margin, margin);
    }
}
