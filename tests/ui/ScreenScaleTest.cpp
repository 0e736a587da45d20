// The window and its main dialogs at the scale factor of the run (QT_SCALE_FACTOR 1, 1.5 and
// 2, offscreen on a screen of 2560 × 1600 pixels): on every page and every tab, no control
// shown is cut by its parent, smaller than it needs to show itself, or lying over one of its
// neighbours. With TRAVIK_SHOTS set each view is saved there as a picture, named by scale,
// page and tab.
#include <gtest/gtest.h>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/analysis/AnalysisSettingForm.h"
#include "ui/app/BackgroundWork.h"
#include "ui/app/ScreenFit.h"
#include "ui/figures/FigureDialogs.h"
#include "ui/frame/About.h"
#include "ui/frame/MainWindow.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/FilterDialog.h"
#include "ui/records/InputFileForm.h"
#include "ui/suite/ScaleDialog.h"

namespace {

void Settle() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

QString Scale() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
}

// A name that finds the control again: its object name, else its class, with its parents'.
std::string PathOf(const QWidget* widget) {
    std::string path;
    for (const QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        const QString name = w->objectName().isEmpty()
                                 ? QString::fromLatin1(w->metaObject()->className())
                                 : w->objectName();
        path = name.toStdString() + (path.empty() ? "" : "/" + path);
    }
    return path;
}

std::string SizeText(const QSize& size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// Children whose places Qt's own widgets settle (scroll bars and viewports, a tab widget's
// bar over its pane's frame, a spin box's edit): only what is inside a scroll area's
// viewport is looked at further, as the content it is.
bool PlacesItsOwnParts(const QWidget& widget) {
    return qobject_cast<const QAbstractScrollArea*>(&widget) != nullptr ||
           qobject_cast<const QTabWidget*>(&widget) != nullptr ||
           qobject_cast<const QTabBar*>(&widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr;
}

// The size the layout must give `widget` for it to show itself whole, as Qt's layouts
// compute it: an explicit minimum where one is set, else the minimum size hint where the
// widget may shrink to it, else its size hint; nothing in a direction it ignores.
QSize Needed(const QWidget& widget) {
    const QSizePolicy policy = widget.sizePolicy();
    const QSize hint = widget.sizeHint();
    const QSize least = widget.minimumSizeHint();
    const auto need = [](QSizePolicy::Policy p, int explicitMinimum, int leastHint, int sizeHint) {
        if (explicitMinimum > 0) {
            return explicitMinimum;
        }
        if (p == QSizePolicy::Ignored) {
            return 0;
        }
        return (p & QSizePolicy::ShrinkFlag) ? std::max(leastHint, 0) : std::max(sizeHint, 0);
    };
    return {need(policy.horizontalPolicy(), widget.minimumWidth(), least.width(), hint.width()),
            need(policy.verticalPolicy(), widget.minimumHeight(), least.height(), hint.height())};
}

class LayoutCheck {
  public:
    std::vector<std::string> faults;

    void Window(const QWidget& window) {
        const QScreen* screen = window.screen();
        ASSERT_NE(screen, nullptr);
        if (!screen->availableGeometry().contains(window.frameGeometry())) {
            faults.push_back(window.objectName().toStdString() + " leaves the screen");
        }
        Children(window, false);
    }

  private:
    void Children(const QWidget& parent, bool scrolled) {
        std::vector<const QWidget*> shown;
        for (const QObject* object : parent.children()) {
            const auto* widget = qobject_cast<const QWidget*>(object);
            // A dialog's size grip floats over its corner, above whatever is there.
            if (widget != nullptr && !widget->isWindow() && widget->isVisible() &&
                qobject_cast<const QSizeGrip*>(widget) == nullptr) {
                shown.push_back(widget);
            }
        }
        const bool ownParts = PlacesItsOwnParts(parent);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const QWidget& child = *shown[i];
            if (!ownParts) {
                One(parent, child, scrolled);
                for (std::size_t j = i + 1; j < shown.size(); ++j) {
                    if (child.geometry().intersects(shown[j]->geometry())) {
                        faults.push_back(PathOf(&child) + " lies over " + PathOf(shown[j]));
                    }
                }
            }
            const auto* area = qobject_cast<const QAbstractScrollArea*>(&parent);
            if (area == nullptr) {
                Children(child, false);
            } else if (&child == area->viewport()) {
                Children(child, true);
            }
        }
    }

    void One(const QWidget& parent, const QWidget& child, bool scrolled) {
        if (!scrolled && !parent.rect().contains(child.geometry())) {
            faults.push_back(PathOf(&child) + " is cut by its parent (" + SizeText(child.size()) +
                             " at " + std::to_string(child.x()) + "," + std::to_string(child.y()) +
                             " in " + SizeText(parent.size()) + ")");
        }
        const QSize needed = Needed(child);
        if (child.width() < needed.width() || child.height() < needed.height()) {
            faults.push_back(PathOf(&child) + " is " + SizeText(child.size()) + ", needs " +
                             SizeText(needed));
        }
    }
};

QString WriteRecord(const QString& folder, const QString& name, double scale, int count) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < count; ++i) {
        file.write(QByteArray::number(scale * std::sin(0.2 * i) * std::exp(-i / 600.0), 'g', 8));
        file.write("\n");
    }
    return path;
}

class ScreenScale : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<TForm1>(platform);
        form->show();
        Settle();
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Three records, all checked, the first analysed: every page has something to show.
    void ImportAndAnalyse() {
        platform.fileAnswers.push_back(
            {WriteRecord(folder.path(), QStringLiteral("a.txt"), 0.1, 1600),
             WriteRecord(folder.path(), QStringLiteral("b.txt"), 0.2, 1600),
             WriteRecord(folder.path(), QStringLiteral("c.txt"), 0.6, 1600)});
        Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
        TForm2* dialog = form->findChild<TForm2*>();
        ASSERT_NE(dialog, nullptr);
        Child<QLineEdit>(dialog, "edt1")->setText(QStringLiteral("0.01"));
        Child<QPushButton>(dialog, "btn1")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Child<QAction>(form.get(), "CheckAll1")->trigger();
        Child<QTabWidget>(form.get(), "pgc1")->setCurrentIndex(1);
        Child<QPushButton>(form->findChild<SpectraPage*>(), "btn11")->click();
        Settle();
    }

    // Looks at `window` as it is shown now; `what` names the view in a failure and a picture.
    void Expect(QWidget& window, const QString& what) {
        Settle();
        LayoutCheck check;
        check.Window(window);
        for (const std::string& fault : check.faults) {
            ADD_FAILURE() << "at scale " << Scale().toStdString() << ", " << what.toStdString()
                          << ": " << fault;
        }
        const QString shots = qEnvironmentVariable("TRAVIK_SHOTS");
        if (!shots.isEmpty()) {
            window.grab().save(shots + QStringLiteral("scale%1-%2.png").arg(Scale(), what));
        }
    }

    // Every tab of every tab widget of the page shown, one after the other.
    void ExpectEveryTab(QWidget* page, const QString& what) {
        Expect(*form, what);
        for (QTabWidget* tabs : page->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                Expect(*form, what + QStringLiteral("-") + tabs->objectName() + QString::number(i));
            }
            tabs->setCurrentIndex(0);
        }
    }

    ScriptedPlatform platform;
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

TEST_F(ScreenScale, TheScreenIsLargeEnoughForTheWindowAtThisScale) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const double scale = Scale().toDouble();
    EXPECT_GE(available.width() * scale, 2000) << "a screen of 2560 x 1600 pixels is expected";
    EXPECT_GE(available.width(), form->width());
    EXPECT_GE(available.height(), form->height());
}

TEST_F(ScreenScale, EveryPageShowsItsControlsWholeBeforeAndAfterAnAnalysis) {
    auto* pages = Child<QTabWidget>(form.get(), "pgc1");
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Expect(*form, QStringLiteral("empty-page%1").arg(i));
    }
    ImportAndAnalyse();
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        ExpectEveryTab(pages->widget(i), QStringLiteral("page%1").arg(i));
    }
}

// The darkest grey of the window's picture in the screen-pixel columns [from, to) at the
// middle third of the height of `rows` (window pixels).
int DarkestIn(const QImage& image, int from, int to, int top, int bottom) {
    int darkest = 255;
    for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x) {
        for (int y = top + (bottom - top) / 3; y < bottom - (bottom - top) / 3; ++y) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
    }
    return darkest;
}

// A list's frame drawn whole at a scale that puts its edges between screen pixels: its
// right line as dark as its left one.
TEST_F(ScreenScale, TheRecordListsShowTheirWholeFrame) {
    ImportAndAnalyse();
    auto* pages = Child<QTabWidget>(form.get(), "pgc1");
    const char* const lists[] = {"lst1", "lst3", "lstMeasures"};
    for (int i = 0; i < 3; ++i) {
        pages->setCurrentIndex(i);
        Settle();
        const QImage image = form->grab().toImage();
        const double dpr = image.devicePixelRatio();
        const QWidget* list = Child<QWidget>(pages->widget(i), lists[i]);
        const QRect r(list->mapTo(form.get(), QPoint(0, 0)), list->size());
        const auto px = [dpr](double logical) {
            return static_cast<int>(std::floor(logical * dpr));
        };
        const int top = px(r.top());
        const int bottom = px(r.bottom());
        const int left = DarkestIn(image, px(r.left()), px(r.left() + 1) + 1, top, bottom);
        const int right = DarkestIn(image, px(r.right()), px(r.right() + 1) + 1, top, bottom);
        EXPECT_LT(left, 230) << lists[i] << ": no left frame line";
        EXPECT_LE(right, left + 30) << lists[i] << " at scale " << Scale().toStdString()
                                    << ": right frame line " << right << ", left " << left;
    }
}

TEST_F(ScreenScale, TheImportDialogShowsItsControlsWholeWithAFileChosen) {
    platform.fileAnswers.push_back({WriteRecord(folder.path(), QStringLiteral("a.txt"), 0.1, 400)});
    Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    Expect(*dialog, QStringLiteral("import"));
    Child<QPushButton>(dialog, "btn3")->click();
    Expect(*dialog, QStringLiteral("import-preview"));
    Child<QPushButton>(dialog, "btn2")->click();
}

TEST_F(ScreenScale, TheMainDialogsShowTheirControlsWhole) {
    ImportAndAnalyse();
    Child<QPushButton>(form->findChild<RecordsPage*>(), "btn2")->click();
    auto* detailed = form->findChild<TForm4*>();
    ASSERT_NE(detailed, nullptr);
    Expect(*detailed, QStringLiteral("detailed-data"));
    detailed->close();

    BackgroundWork work;
    std::vector<std::pair<QString, std::unique_ptr<QWidget>>> dialogs;
    dialogs.emplace_back(QStringLiteral("settings"),
                         new TForm3(travik::AnalysisSettings{}, '.', platform, form.get()));
    dialogs.emplace_back(QStringLiteral("about"), new TAboutBox(platform, form.get()));
    dialogs.emplace_back(QStringLiteral("filter"),
                         new FilterDialog(std::nullopt, 0.01, 4000, '.', platform, form.get()));
    dialogs.emplace_back(QStringLiteral("scale"),
                         new ScaleDialog(ScaleFields{}, {0.1, 1.0}, 3, '.', platform, form.get()));
    dialogs.emplace_back(
        QStringLiteral("image-options"),
        new travik::figures::ImageOptionsDialog(travik::figures::ImageFormat::Png,
                                                travik::figures::ImageOptions{}, form.get()));
    dialogs.emplace_back(
        QStringLiteral("target"),
        new travik::figures::TargetDialog(travik::figures::TargetChoice{}, '.', form.get()));
    for (auto& [name, dialog] : dialogs) {
        KeepOnScreen(dialog.get());
        dialog->show();
        Expect(*dialog, name);
        dialog->hide();
    }
}

}  // namespace
