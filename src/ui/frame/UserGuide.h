#pragma once

#include <QDialog>

class QTextBrowser;

// Help → User Guide: the guide shipped inside the program (the repository's docs/guide.md
// and its screenshots, built in as resources), shown without any network.
class UserGuideWindow final : public QDialog {
    Q_OBJECT
  public:
    explicit UserGuideWindow(QWidget* parent = nullptr);

  private:
    QTextBrowser* browser_ = nullptr;  // txtGuide
};

// Registers the built-in guide's resources (those of a static library are linked in only
// when named); the window does it itself.
void LoadUserGuideResources();

// The address of the built-in guide.
inline constexpr const char* kUserGuideSource = "qrc:/guide/guide.md";
