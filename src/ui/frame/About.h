#pragma once

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;
class PlatformServices;

// "About TRAVIK": the program's name, edition and web page. Holds no state.
class TAboutBox final : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(PlatformServices& platform, QWidget* parent = nullptr);

    // The program's logo: a ground-motion trace over a response-spectrum curve.
    static QPixmap DrawLogo(const QSize& size);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void OKButtonClick();
    void lbl6MouseMove();
    void lbl6MouseLeave();
    void lbl6Click();

  private:
    PlatformServices& platform_;

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* lbl1 = nullptr;  // subtitle
    QLabel* Version = nullptr;
    QLabel* lbl2 = nullptr;  // credit
    QLabel* lbl3 = nullptr;  // institution line
    QLabel* lbl4 = nullptr;  // contact line
    QLabel* lbl5 = nullptr;  // licence line
    QLabel* lbl7 = nullptr;  // "Website : "
    QLabel* lbl6 = nullptr;  // web address link
    QPushButton* OKButton = nullptr;
};
