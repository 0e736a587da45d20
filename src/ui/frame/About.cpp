#include "ui/frame/About.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ProjectInfo.h"
#include "ui/app/ScreenFit.h"

namespace {

const QColor kLinkHoverColor(255, 0, 255);

QLabel* MakeLine(QWidget* parent, const char* name, const QString& text, int left, int top,
                 int pointSize = 9) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace

TAboutBox::TAboutBox(PlatformServices& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About TRAVIK"));
    KeepOnScreen(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(601, 210);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(7, 6, 586, 170);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(11, 6, 96, 85);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(DrawLogo(QSize(96, 85)));

    // Positions inside the panel: the window positions less the panel's own.
    ProductName = MakeLine(Panel1, "ProductName",
                           QStringLiteral("TRAVIK - Spectra Response Analysis"), 119, 3, 12);
    lbl1 = MakeLine(Panel1, "lbl1",
                    QStringLiteral("Elastic response spectra of strong-motion records"), 118, 28);
    Version = MakeLine(Panel1, "Version",
                       QStringLiteral("Edition 20150902, released 2 September 2015"), 118, 47);
    lbl2 = MakeLine(Panel1, "lbl2", QStringLiteral("The TRAVIK project"), 118, 64);
    lbl3 = MakeLine(Panel1, "lbl3",
                    QStringLiteral("Open tools for earthquake engineering practice"), 165, 83);
    lbl4 = MakeLine(Panel1, "lbl4",
                    QStringLiteral("Questions and reports: see the project web page"), 165, 102);
    lbl5 = MakeLine(Panel1, "lbl5",
                    QStringLiteral("Check every result before you use it in a design"), 165, 122);
    lbl7 = MakeLine(Panel1, "lbl7", QStringLiteral("Website : "), 165, 141);
    const int linkLeft = std::max(227, lbl7->x() + lbl7->width());
    lbl6 = MakeLine(Panel1, "lbl6", ProjectWebAddress().toString(), linkLeft, 141);
    lbl6->setCursor(Qt::PointingHandCursor);
    lbl6->setMouseTracking(true);
    lbl6->installEventFilter(this);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    // As designed, centred under the panel, but never narrower than its text needs (a
    // larger font, a magnified screen).
    const int okWidth = std::max(76, OKButton->sizeHint().width());
    OKButton->setGeometry(301 - okWidth / 2, 180, okWidth,
                          std::max(25, OKButton->sizeHint().height()));
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

QPixmap TAboutBox::DrawLogo(const QSize& size) {
    QPixmap logo(size);
    logo.fill(QColor(245, 245, 250));
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    const double width = size.width();
    const double height = size.height();

    // A decaying ground-motion trace across the upper half.
    QPainterPath trace;
    const double axis = height * 0.32;
    trace.moveTo(4.0, axis);
    for (int i = 0; i <= 90; ++i) {
        const double t = i / 90.0;
        const double envelope = std::exp(-3.0 * std::abs(t - 0.3)) * (t < 0.3 ? t / 0.3 : 1.0);
        const double x = 4.0 + t * (width - 8.0);
        const double y = axis - envelope * height * 0.22 * std::sin(t * 70.0);
        trace.lineTo(x, y);
    }
    painter.setPen(QPen(QColor(200, 40, 60), 1.4));
    painter.drawPath(trace);

    // A response-spectrum shape over the lower half: rise, plateau, decay.
    const double base = height - 8.0;
    QPainterPath spectrum;
    spectrum.moveTo(6.0, base - height * 0.12);
    spectrum.cubicTo(width * 0.18, base - height * 0.45, width * 0.3, base - height * 0.42,
                     width * 0.4, base - height * 0.40);
    spectrum.cubicTo(width * 0.55, base - height * 0.30, width * 0.75, base - height * 0.10,
                     width - 6.0, base - height * 0.06);
    painter.setPen(QPen(QColor(30, 90, 200), 2.2));
    painter.drawPath(spectrum);
    painter.setPen(QPen(QColor(90, 90, 90), 1.0));
    painter.drawLine(QPointF(5.0, base), QPointF(width - 5.0, base));
    painter.drawLine(QPointF(5.0, base), QPointF(5.0, height * 0.58));
    return logo;
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbl6) {
        switch (event->type()) {
            case QEvent::Enter:
            case QEvent::MouseMove:
                lbl6MouseMove();
                break;
            case QEvent::Leave:
                lbl6MouseLeave();
                break;
            case QEvent::MouseButtonRelease: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton &&
                    lbl6->rect().contains(mouse->position().toPoint())) {
                    lbl6Click();
                }
                break;
            }
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::OKButtonClick() {
    close();
}

void TAboutBox::lbl6MouseMove() {
    SetLabelLook(lbl6, kLinkHoverColor, true);
}

void TAboutBox::lbl6MouseLeave() {
    SetLabelLook(lbl6, Qt::black, false);
}

void TAboutBox::lbl6Click() {
    platform_.OpenWebPage(ProjectWebAddress());
}
