#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "RecordsFixture.h"
#include "ui/app/ProjectInfo.h"
#include "ui/frame/About.h"

namespace {

class AboutWindow : public RecordsFixture {
  protected:
    TAboutBox* Open() {
        Frame<QAction>("AboutDIVU1")->trigger();
        auto* box = form->findChild<TAboutBox*>();
        EXPECT_NE(box, nullptr);
        return box;
    }
};

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

TEST_F(AboutWindow, NamesTheProgramInAFixedModalWindow) {
    TAboutBox* box = Open();
    EXPECT_EQ(box->windowTitle(), "About TRAVIK");
    EXPECT_TRUE(box->isModal());
    EXPECT_EQ(box->size(), QSize(601, 210));
    EXPECT_EQ(box->minimumSize(), box->maximumSize());
    EXPECT_EQ(Child<QLabel>(box, "ProductName")->text(), "TRAVIK - Spectra Response Analysis");
    EXPECT_EQ(Child<QLabel>(box, "ProductName")->font().pointSize(), 12);
    EXPECT_TRUE(Child<QLabel>(box, "ProductName")->font().bold());
    EXPECT_EQ(Child<QLabel>(box, "lbl7")->text(), "Website : ");
    EXPECT_EQ(Child<QLabel>(box, "lbl6")->text(), ProjectWebAddress().toString());
    EXPECT_EQ(Child<QPushButton>(box, "OKButton")->text(), "OK");
    EXPECT_TRUE(Child<QPushButton>(box, "OKButton")->isDefault());
    EXPECT_FALSE(Child<QLabel>(box, "ProgramIcon")->pixmap().isNull());
}

TEST_F(AboutWindow, TheLinkLightsUpUnderThePointerAndReturnsToItsFirstLook) {
    TAboutBox* box = Open();
    QLabel* link = Child<QLabel>(box, "lbl6");
    const QColor startColour = TextColour(link);
    const QFont startFont = link->font();
    EXPECT_EQ(startColour, QColor(Qt::black));
    EXPECT_TRUE(startFont.bold());
    EXPECT_FALSE(startFont.underline());

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(link, &enter);
    EXPECT_EQ(TextColour(link), QColor(255, 0, 255));
    EXPECT_TRUE(link->font().bold());
    EXPECT_TRUE(link->font().underline());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    EXPECT_EQ(TextColour(link), startColour);
    EXPECT_EQ(link->font(), startFont);
}

TEST_F(AboutWindow, ClickingTheLinkOpensThePageAndKeepsTheWindowOpen) {
    TAboutBox* box = Open();
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    QTest::mouseClick(Child<QLabel>(box, "lbl6"), Qt::LeftButton);
    ASSERT_EQ(platform.openedPages.size(), 1u);
    EXPECT_EQ(platform.openedPages.front(), ProjectWebAddress());
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AboutWindow, OkClosesAndDestroysTheWindowAndEachCommandMakesANewOne) {
    const QPointer<TAboutBox> first = Open();
    Child<QPushButton>(first.data(), "OKButton")->click();
    ProcessDeletions();
    EXPECT_TRUE(first.isNull());

    const QPointer<TAboutBox> second = Open();
    ASSERT_FALSE(second.isNull());
    second->show();
    QTest::keyClick(second.data(), Qt::Key_Return);
    ProcessDeletions();
    EXPECT_TRUE(second.isNull());
}

}  // namespace
