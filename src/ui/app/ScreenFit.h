#pragma once

#include <QLabel>
#include <QObject>
#include <QScrollArea>
#include <QString>

class QWidget;

// Keeps a window within the part of its screen that windows may use (the screen less its
// panels), whatever the screen's size and scale factor: on every show the window is made no
// larger than that area, less the window manager's frame, and moved into it. Installs itself
// on `window` and goes with it.
void KeepOnScreen(QWidget* window);

// Makes `window` no larger than the available area of the screen it is on and moves it into
// that area now (KeepOnScreen does this on every show).
void FitToScreen(QWidget& window);

// The body of a dialog, shown whole where the screen has room for it and scrolled where it
// has not (a small or magnified screen): it asks for the size of its content but can be made
// as small as a few lines. The dialog's buttons stay outside it, always in view.
class ScrolledBody final : public QScrollArea {
    Q_OBJECT
  public:
    // Takes `content` (with its layout) as the scrolled widget.
    explicit ScrolledBody(QWidget* content, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    // A change of the content's layout changes what the body asks of the dialog's layout.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool growPending_ = false;
};

// A one-line label for texts that may be too long for it, such as file names: what does not
// fit is elided in the middle, so that both the start and the end of a name stay readable,
// and the whole text is the tooltip. Its width follows the layout, never the text.
class MiddleElidedLabel final : public QLabel {
    Q_OBJECT
  public:
    explicit MiddleElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    QString FullText() const { return fullText_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Elide();

    QString fullText_;
};
