#include "ui/frame/KeyboardShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

namespace {

// The window-wide action `name` bound to `keys`, clicking what `press` gives.
template <class Press>
void AddWindowKey(QMainWindow& window, const char* name, const QKeySequence& keys, Press press) {
    auto* action = new QAction(&window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, press);
}

// The menu command `name`, when the window has it, bound to `keys`.
void AssignMenuKey(QMainWindow& window, const char* name, const QKeySequence& keys) {
    if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name))) {
        action->setShortcut(keys);
    }
}

// Alt and the first letter of its title opens a menu of the menu bar; the title shown stays
// as it is (the letter is underlined while Alt is held).
void AssignMenuLetters(QMainWindow& window) {
    for (const char* name : {"File1", "Options1", "Help1"}) {
        auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name));
        if (menu != nullptr && !menu->title().contains(QLatin1Char('&'))) {
            menu->setTitle(QLatin1Char('&') + menu->title());
        }
    }
}

}  // namespace

void AssignKeyboardShortcuts(QMainWindow& window) {
    AssignMenuKey(window, "ImportTimeHistoryRecords1", QKeySequence::Open);
    AssignMenuKey(window, "OpenWorkspace1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    AssignMenuKey(window, "SaveWorkspace1", QKeySequence::Save);
    AssignMenuKey(window, "SaveChartAs1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    AssignMenuLetters(window);
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("pgc1"));
    if (pages == nullptr) {
        return;
    }
    AddWindowKey(window, "AnalyzeKey", QKeySequence(Qt::Key_F5), [pages] {
        auto* analyse = pages->findChild<QPushButton*>(QStringLiteral("btn11"));
        if (analyse != nullptr && analyse->isEnabled()) {
            for (int i = 0; i < pages->count(); ++i) {
                if (pages->widget(i)->isAncestorOf(analyse)) {
                    pages->setCurrentIndex(i);
                }
            }
            analyse->click();
        }
    });
    AddWindowKey(window, "ExportKey", QKeySequence(Qt::CTRL | Qt::Key_E), [pages] {
        // The export button of the page shown, whichever page that is.
        for (const char* name : {"btn3", "btn10", "btnMeasuresExport"}) {
            QWidget* page = pages->currentWidget();
            auto* button = page == nullptr
                               ? nullptr
                               : page->findChild<QPushButton*>(QString::fromLatin1(name));
            if (button != nullptr && button->isEnabled()) {
                button->click();
                return;
            }
        }
    });
}
