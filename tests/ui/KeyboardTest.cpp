// Every command by keyboard: the window's keys, the menus' Alt letters, and Tab moving through
// each page and dialog in the order a reader goes through its layout.
#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <string>
#include <vector>

#include "RecordsFixture.h"
#include "ui/analysis/AnalysisSettingForm.h"
#include "ui/app/ScreenFit.h"
#include "ui/figures/FigureDialogs.h"
#include "ui/frame/About.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/FilterDialog.h"
#include "ui/suite/ScaleDialog.h"

namespace {

// The name a user's script finds a control by: its own, or that of the nearest named control
// it is a part of (a grid's view, a spin box's edit, a tab widget's bar).
std::string NameOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_"))) {
            QString text = name;
            if (w != widget) {
                text += QLatin1Char('/') + QLatin1String(widget->metaObject()->className());
            }
            return text.toStdString();
        }
    }
    return widget->metaObject()->className();
}

QRect OnScreen(const QWidget* widget) {
    return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

// The controls Tab goes through in `window`, once round, starting from the top left one.
// A control that keeps the focus on Tab ends the walk and is reported in `trap`.
std::vector<QWidget*> TabCycle(QWidget& window, std::string& trap) {
    QApplication::setActiveWindow(&window);
    window.activateWindow();
    QWidget* first = nullptr;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            first = w;
            break;
        }
    }
    std::vector<QWidget*> cycle;
    if (first == nullptr) {
        return cycle;
    }
    first->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 120; ++step) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || (!cycle.empty() && focus == cycle.front())) {
            break;
        }
        if (!cycle.empty() && focus == cycle.back()) {
            trap = NameOf(focus);
            break;
        }
        cycle.push_back(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // Round from the control nearest the top left corner, where a reader starts.
    const auto topLeft = std::min_element(cycle.begin(), cycle.end(), [](QWidget* a, QWidget* b) {
        const QRect ra = OnScreen(a);
        const QRect rb = OnScreen(b);
        return std::make_pair(ra.top(), ra.left()) < std::make_pair(rb.top(), rb.left());
    });
    std::rotate(cycle.begin(), topLeft, cycle.end());
    return cycle;
}

// Steps of the Tab order against the reading order of the layout: each step goes right
// along a row, down a column, to the next row, or over to the next column at its top; never
// back up a column, nor leftwards along a row.
std::vector<std::string> ReadingOrderFaults(const std::vector<QWidget*>& cycle) {
    constexpr int kSlack = 4;  // pixels: frames and baselines of neighbours differ a little
    std::vector<std::string> faults;
    for (std::size_t i = 0; i + 1 < cycle.size(); ++i) {
        const QRect a = OnScreen(cycle[i]);
        const QRect b = OnScreen(cycle[i + 1]);
        const bool toTheRight = b.left() >= a.right() - kSlack;
        const bool below = b.top() >= a.bottom() - kSlack;
        const bool sameRow = b.top() <= a.bottom() && a.top() <= b.bottom();
        const bool backUp = b.top() < a.top() - kSlack && !toTheRight;
        const bool leftwards = sameRow && !below && b.right() <= a.left() + kSlack;
        if (backUp || leftwards) {
            faults.push_back(NameOf(cycle[i]) + " -> " + NameOf(cycle[i + 1]));
        }
    }
    return faults;
}

std::string Names(const std::vector<QWidget*>& cycle) {
    std::string names;
    for (const QWidget* w : cycle) {
        if (!names.empty()) {
            names += ", ";
        }
        names += NameOf(w);
    }
    return names;
}

class Keyboard : public RecordsFixture {
  protected:
    void ExpectReadingOrder(QWidget& window, const char* what, std::size_t atLeast) {
        std::string trap;
        const std::vector<QWidget*> cycle = TabCycle(window, trap);
        EXPECT_TRUE(trap.empty()) << what << ": Tab stays in " << trap;
        EXPECT_GE(cycle.size(), atLeast) << what << ": " << Names(cycle);
        for (const std::string& fault : ReadingOrderFaults(cycle)) {
            ADD_FAILURE() << what << ": Tab goes " << fault << " (order: " << Names(cycle) << ")";
        }
    }

    void ImportTwo() {
        Import({WriteSamples("a.txt", {0.1, -0.2, 0.3, -0.1, 0.05, 0.0}),
                WriteSamples("b.txt", {0.2, -0.1, 0.1, -0.3, 0.05, 0.0})});
    }

    void Press(QKeySequence keys) {
        QApplication::setActiveWindow(form.get());
        QTest::keySequence(form.get(), keys);
    }
};

TEST_F(Keyboard, TheWindowsKeysReachItsCommands) {
    form->show();
    Press(QKeySequence(Qt::CTRL | Qt::Key_O));
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr) << "Ctrl+O opens the import window";
    Child<QPushButton>(dialog, "btn2")->click();
    ProcessDeletions();

    ImportTwo();
    Press(QKeySequence(Qt::Key_F5));
    EXPECT_EQ(Frame<QTabWidget>("pgc1")->currentIndex(), 1) << "F5 shows the spectra page";
    EXPECT_FALSE(form->Document().Spectra().periods.empty()) << "F5 analyses";

    Frame<QTabWidget>("pgc1")->setCurrentIndex(0);
    platform.folderAnswers.push_back(QString());  // the folder dialog cancelled
    const qsizetype folders = platform.folderDialogFolders.size();
    Records<QListWidget>("lst1")->item(0)->setCheckState(Qt::Checked);
    Press(QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(platform.folderDialogFolders.size(), folders + 1) << "Ctrl+E exports";

    const qsizetype workspaces = platform.workspaceDialogFolders.size();
    platform.workspaceAnswers.push_back(QString());
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(platform.workspaceDialogFolders.size(), workspaces + 1) << "Ctrl+S saves";
    platform.workspaceAnswers.push_back(QString());
    Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    EXPECT_EQ(platform.workspaceDialogFolders.size(), workspaces + 2) << "Ctrl+Shift+O opens";

    platform.imageAnswers.push_back({});
    const qsizetype names = platform.suggestedImageNames.size();
    Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(platform.suggestedImageNames.size(), names + 1) << "Ctrl+Shift+S saves the chart";
}

TEST_F(Keyboard, EveryMenuOpensWithItsAltLetter) {
    form->show();
    for (const char* name : {"File1", "Options1", "Help1"}) {
        const QString title = Frame<QMenu>(name)->title();
        const qsizetype amp = title.indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << name << " has no Alt letter: " << title.toStdString();
        EXPECT_EQ(QString(title).remove(QLatin1Char('&')), QString::fromLatin1(name).chopped(1))
            << "the title shown stays as it was";
        QApplication::setActiveWindow(form.get());
        QTest::keyClick(form.get(), title.at(amp + 1).toLower().toLatin1(), Qt::AltModifier);
        EXPECT_EQ(form->menuBar()->activeAction(), Frame<QMenu>(name)->menuAction()) << name;
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(form->menuBar(), Qt::Key_Escape);
    }
}

TEST_F(Keyboard, TabFollowsTheLayoutOfEveryPage) {
    ImportTwo();
    form->show();
    auto* pages = Frame<QTabWidget>("pgc1");
    const std::size_t least[] = {10, 12, 4};
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        ExpectReadingOrder(*form, pages->tabText(i).toStdString().c_str(),
                           least[static_cast<std::size_t>(i)]);
    }
}

TEST_F(Keyboard, TabFollowsTheLayoutOfEveryDialog) {
    ImportTwo();
    form->show();
    Records<QPushButton>("btn1")->click();
    TForm2* import = form->findChild<TForm2*>();
    ASSERT_NE(import, nullptr);
    ExpectReadingOrder(*import, "import", 8);
    Child<QPushButton>(import, "btn2")->click();
    ProcessDeletions();

    Records<QPushButton>("btn2")->click();
    ASSERT_NE(form->findChild<TForm4*>(), nullptr);
    ExpectReadingOrder(*form->findChild<TForm4*>(), "detailed data", 3);
    form->findChild<TForm4*>()->close();

    std::vector<std::pair<const char*, std::unique_ptr<QWidget>>> dialogs;
    dialogs.emplace_back("settings",
                         new TForm3(travik::AnalysisSettings{}, '.', platform, form.get()));
    dialogs.emplace_back("about", new TAboutBox(platform, form.get()));
    dialogs.emplace_back("filter",
                         new FilterDialog(std::nullopt, 0.01, 4000, '.', platform, form.get()));
    dialogs.emplace_back("scale",
                         new ScaleDialog(ScaleFields{}, {0.1, 1.0}, 3, '.', platform, form.get()));
    dialogs.emplace_back("image options", new travik::figures::ImageOptionsDialog(
                                              travik::figures::ImageFormat::Png,
                                              travik::figures::ImageOptions{}, form.get()));
    dialogs.emplace_back("target", new travik::figures::TargetDialog(
                                       travik::figures::TargetChoice{}, '.', form.get()));
    for (auto& [name, dialog] : dialogs) {
        dialog->show();
        ExpectReadingOrder(*dialog, name, 1);
        dialog->hide();
    }
}

}  // namespace
