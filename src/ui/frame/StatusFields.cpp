#include "ui/frame/StatusFields.h"

#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <algorithm>
#include <utility>

#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ProjectInfo.h"

namespace {

const QColor kLinkHoverColor(255, 0, 255);
const char* const kFirstTip = "Tips: grey line is corrected results!";

}  // namespace

StatusFields::StatusFields(QMainWindow& window, PlatformServices& platform)
    : QObject(&window), platform_(platform) {
    rzstsbr1 = Named(new QStatusBar(&window), "rzstsbr1");
    window.setStatusBar(rzstsbr1);
    rzstsbr1->setFixedHeight(26);
    rzstsbr1->setSizeGripEnabled(true);

    credit_ = Named(new QLabel(QStringLiteral("TRAVIK")), "rzfldsts3");
    welcome_ = Named(new QLabel(QStringLiteral("  Welcome to my Website :")), "rzfldsts1");
    webAddress_ = Named(new QLabel(ProjectWebAddress().host()), "rzfldsts2");
    tip_ = Named(new QLabel(QString::fromLatin1(kFirstTip)), "rzfldsts4");
    for (QLabel* field : {credit_, welcome_, webAddress_, tip_}) {
        SetLabelLook(field, Qt::black, false);
        field->setMouseTracking(true);
        field->installEventFilter(this);
    }
    // The designed widths, widened where the platform's bold font needs more room.
    const std::pair<QLabel*, int> widths[] = {{credit_, 63}, {welcome_, 173}, {webAddress_, 125}};
    for (const auto& [field, width] : widths) {
        const int needed = field->fontMetrics().horizontalAdvance(field->text()) + 10;
        field->setFixedWidth(std::max(width, needed));
    }
    webAddress_->setCursor(Qt::PointingHandCursor);
    webAddress_->setToolTip(ProjectWebAddress().toString());
    rzstsbr1->addWidget(credit_);
    rzstsbr1->addWidget(welcome_);
    rzstsbr1->addWidget(webAddress_);
    rzstsbr1->addWidget(tip_, 1);
}

void StatusFields::ShowTip(const QString& tip) {
    tip_->setText(tip);
}

bool StatusFields::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool entered = type == QEvent::Enter || type == QEvent::MouseMove;
    if (watched == webAddress_) {
        if (entered) {
            rzfldsts2MouseMove();
        } else if (type == QEvent::Leave) {
            rzfldsts2MouseLeave();
        } else if (type == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                webAddress_->rect().contains(mouse->position().toPoint())) {
                rzfldsts2Click();
            }
        }
    } else if (watched == credit_) {
        if (entered) {
            rzfldsts3MouseMove();
        } else if (type == QEvent::Leave) {
            rzfldsts3MouseLeave();
        }
    }
    return QObject::eventFilter(watched, event);
}

void StatusFields::rzfldsts2MouseMove() {
    SetLabelLook(webAddress_, kLinkHoverColor, true);
}

void StatusFields::rzfldsts2MouseLeave() {
    SetLabelLook(webAddress_, Qt::black, false);
}

void StatusFields::rzfldsts2Click() {
    platform_.OpenWebPage(ProjectWebAddress());
}

void StatusFields::rzfldsts3MouseMove() {
    SetLabelLook(credit_, kLinkHoverColor, false);
}

void StatusFields::rzfldsts3MouseLeave() {
    SetLabelLook(credit_, Qt::black, false);
}
