// Help → User Guide: the guide built into the program, with every screenshot it names.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextBrowser>

#include "WindowFixture.h"
#include "ui/frame/UserGuide.h"

namespace {

class UserGuideTest : public WindowFixture {};

TEST_F(UserGuideTest, HelpUserGuideShowsTheThreeTasksFromInsideTheProgram) {
    Frame<QAction>("UserGuide1")->trigger();
    auto* window = form->findChild<UserGuideWindow*>();
    ASSERT_NE(window, nullptr);
    const QString text = Child<QTextBrowser>(window, "txtGuide")->toPlainText();
    EXPECT_TRUE(text.contains("1. Import a record and compute its spectra"))
        << text.left(600).toStdString();
    EXPECT_TRUE(text.contains("2. Filter a record and read its ground-motion measures"));
    EXPECT_TRUE(text.contains("3. Save the session as a workspace and open it again"));
    EXPECT_TRUE(platform.openedPages.empty());  // nothing asked of the network
}

TEST_F(UserGuideTest, EveryScreenshotTheGuideNamesIsBuiltIn) {
    LoadUserGuideResources();
    QFile guide(QStringLiteral(":/guide/guide.md"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString markdown = QString::fromUtf8(guide.readAll());
    const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
    int images = 0;
    for (const QRegularExpressionMatch& match : image.globalMatch(markdown)) {
        SCOPED_TRACE(match.captured(1).toStdString());
        const QImage shot(QStringLiteral(":/guide/") + match.captured(1));
        EXPECT_FALSE(shot.isNull());
        EXPECT_GE(shot.width(), 800);
        ++images;
    }
    EXPECT_GE(images, 3);
}

}  // namespace
