// Window stacking under a real window manager: run by run_with_window_manager.sh on an X
// display with openbox, where "in front" means what the window manager says.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/frame/MainWindow.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/InputFileForm.h"

namespace {

void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// The client windows the window manager manages, bottom to top.
std::vector<qulonglong> StackingOrder() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    EXPECT_TRUE(xprop.waitForFinished(5000));
    const QString output = QString::fromLocal8Bit(xprop.readAllStandardOutput());
    std::vector<qulonglong> windows;
    const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto match = id.globalMatch(output); match.hasNext();) {
        windows.push_back(match.next().captured().toULongLong(nullptr, 16));
    }
    return windows;
}

// Position of `window` in the stacking order (higher is nearer the user), -1 if unmanaged.
int Level(const QWidget* window) {
    const std::vector<qulonglong> order = StackingOrder();
    const auto id = static_cast<qulonglong>(window->window()->winId());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TEST(WindowStacking, DialogsOpenInFrontOfTheDetailedDataWindowAndItDoesNotStayOnTop) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        GTEST_SKIP() << "needs an X display with a window manager";
    }
    ScriptedPlatform platform;
    TForm1 form(platform);
    form.move(0, 0);
    form.show();
    Settle(500);
    Child<QPushButton>(form.findChild<RecordsPage*>(), "btn2")->click();
    Settle(500);
    TForm4* detailed = form.findChild<TForm4*>();
    ASSERT_NE(detailed, nullptr);
    ASSERT_GE(Level(&form), 0);
    ASSERT_GE(Level(detailed), 0);
    EXPECT_GT(Level(detailed), Level(&form));

    // File - Import Time History Records while the detailed data are in front.
    Child<QAction>(&form, "ImportTimeHistoryRecords1")->trigger();
    Settle(500);
    TForm2* import = form.findChild<TForm2*>();
    ASSERT_NE(import, nullptr);
    EXPECT_GT(Level(import), Level(detailed));
    Child<QPushButton>(import, "btn2")->click();
    Settle(300);

    // The main window comes in front of the detailed data when the user picks it.
    form.raise();
    form.activateWindow();
    Settle(500);
    EXPECT_GT(Level(&form), Level(detailed));
}

}  // namespace
