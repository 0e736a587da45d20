#include "ui/frame/UserGuide.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/app/FormHelpers.h"

void LoadUserGuideResources() {
    Q_INIT_RESOURCE(UserGuide);
}

UserGuideWindow::UserGuideWindow(QWidget* parent) : QDialog(parent) {
    LoadUserGuideResources();
    setObjectName(QStringLiteral("UserGuide"));
    setWindowTitle(QStringLiteral("TRAVIK User Guide"));
    browser_ = Named(new QTextBrowser(this), "txtGuide");
    browser_->setOpenLinks(false);  // the guide has no links to follow; nothing leaves it
    browser_->setSource(QUrl(QString::fromLatin1(kUserGuideSource)),
                        QTextDocument::MarkdownResource);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    // Wide enough for the screenshots, never larger than the screen.
    QSize size(1000, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    resize(size);
}
