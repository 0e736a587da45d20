#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QMainWindow;
class QStatusBar;
class PlatformServices;

// The main window's status bar (rzstsbr1) and its fields: the project credit, the web
// address that lights up under the pointer and opens the project's page, and the tip of
// the page in view.
class StatusFields final : public QObject {
    Q_OBJECT
  public:
    StatusFields(QMainWindow& window, PlatformServices& platform);

    QStatusBar* Bar() const { return rzstsbr1; }
    void ShowTip(const QString& tip);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void rzfldsts2MouseMove();
    void rzfldsts2MouseLeave();
    void rzfldsts2Click();
    void rzfldsts3MouseMove();
    void rzfldsts3MouseLeave();

  private:
    PlatformServices& platform_;
    QStatusBar* rzstsbr1 = nullptr;
    QLabel* credit_ = nullptr;      // rzfldsts3, "TRAVIK"
    QLabel* welcome_ = nullptr;     // rzfldsts1, "  Welcome to my Website :"
    QLabel* webAddress_ = nullptr;  // rzfldsts2, the project's web address
    QLabel* tip_ = nullptr;         // rzfldsts4, the tip of the page in view
};
