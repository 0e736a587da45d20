#include "ui/frame/KeyboardShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
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

}  // namespace

void AssignKeyboardShortcuts(QMainWindow& window) {
    if (auto* import = window.findChild<QAction*>(QStringLiteral("ImportTimeHistoryRecords1"))) {
        import->setShortcut(QKeySequence::Open);
    }
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
