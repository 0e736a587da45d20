#include "ui/app/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

// The frame a window manager draws around a window (title bar and borders), in
// device-independent pixels, for windows not yet framed: before the first show the frame is
// unknown, and a window as large as the screen would push its title bar off it.
constexpr int kFrameGuessWidth = 16;
constexpr int kFrameGuessHeight = 48;

// The width, in average characters, a middle-elided label asks for at most.
constexpr int kWidestHint = 60;

QScreen* ScreenOf(const QWidget& window) {
    if (const QWidget* parent = window.parentWidget()) {
        if (QScreen* screen = parent->window()->screen()) {
            return screen;
        }
    }
    if (QScreen* screen = window.screen()) {
        return screen;
    }
    return QGuiApplication::primaryScreen();
}

class ScreenKeeper final : public QObject {
  public:
    explicit ScreenKeeper(QWidget* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) {
            FitToScreen(*window_);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget* window_;
};

}  // namespace

void KeepOnScreen(QWidget* window) {
    window->installEventFilter(new ScreenKeeper(window));
}

void FitToScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const bool framed = frame.width() > inner.width() || frame.height() > inner.height();
    const int frameWidth = framed ? frame.width() - inner.width() : kFrameGuessWidth;
    const int frameHeight = framed ? frame.height() - inner.height() : kFrameGuessHeight;
    const QSize limit(std::max(1, available.width() - frameWidth),
                      std::max(1, available.height() - frameHeight));
    // The window manager may not let the user make it larger either.
    window.setMaximumSize(window.maximumSize().boundedTo(limit));
    window.resize(window.size().boundedTo(limit));
    const QSize outer(window.width() + frameWidth, window.height() + frameHeight);
    QPoint topLeft = window.isWindow() ? window.frameGeometry().topLeft() : window.pos();
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() + 1 - outer.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() + 1 - outer.height())));
    window.move(topLeft);
}

ScrolledBody::ScrolledBody(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
    // Tab goes through the controls inside, which the body scrolls into view; the body
    // itself is no stop of its own (it would come after the dialog's buttons).
    setFocusPolicy(Qt::NoFocus);
}

QSize ScrolledBody::sizeHint() const {
    const QWidget* body = widget();
    if (body == nullptr) {
        return {};
    }
    QSize content = body->sizeHint().expandedTo(body->minimumSizeHint());
    // Wrapped texts (a summary, a warning) are taller at the width the body is shown at than
    // its plain size hint says: ask for the height at that width, so nothing needs scrolling
    // where the screen has room.
    if (body->hasHeightForWidth()) {
        const int width = isVisible() ? viewport()->width() : content.width();
        content.setHeight(std::max(content.height(), body->heightForWidth(width)));
    }
    const QMargins frame = contentsMargins();
    return content + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

bool ScrolledBody::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        // Content that grew after the dialog opened (a preview's summary, a warning) is
        // shown whole where the screen has room: the window grows once its layout has
        // taken the new size, and stays within the screen.
        if (isVisible() && !growPending_) {
            growPending_ = true;
            QTimer::singleShot(0, this, [this] {
                growPending_ = false;
                QWidget* top = window();
                top->resize(top->size().expandedTo(top->sizeHint()));
                FitToScreen(*top);
            });
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize ScrolledBody::minimumSizeHint() const {
    const int line = fontMetrics().lineSpacing();
    const QSize whole = sizeHint();
    return {std::min(whole.width(), 12 * line), std::min(whole.height(), 6 * line)};
}

MiddleElidedLabel::MiddleElidedLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    SetFullText(text);
}

void MiddleElidedLabel::SetFullText(const QString& text) {
    fullText_ = text;
    setToolTip(text);
    Elide();
}

QSize MiddleElidedLabel::minimumSizeHint() const {
    const QSize whole = sizeHint();
    return {std::min(whole.width(), 8 * fontMetrics().averageCharWidth()), whole.height()};
}

QSize MiddleElidedLabel::sizeHint() const {
    int widest = 0;
    for (const QString& line : fullText_.split(QLatin1Char('\n'))) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(line));
    }
    const int lineCount = static_cast<int>(fullText_.count(QLatin1Char('\n'))) + 1;
    return {std::min(widest, kWidestHint * fontMetrics().averageCharWidth()),
            lineCount * fontMetrics().lineSpacing()};
}

void MiddleElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void MiddleElidedLabel::Elide() {
    const int room = std::max(contentsRect().width(), 1);
    QStringList lines = fullText_.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = fontMetrics().elidedText(line, Qt::ElideMiddle, room);
    }
    setText(lines.join(QLatin1Char('\n')));
}
