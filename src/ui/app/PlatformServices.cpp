#include "app/PlatformServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(PlatformServices::MessageKind kind) {
    switch (kind) {
        case PlatformServices::MessageKind::Information:
            return QMessageBox::Information;
        case PlatformServices::MessageKind::Warning:
            return QMessageBox::Warning;
        case PlatformServices::MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtPlatformServices::ShowMessage(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), QString(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QStringList QtPlatformServices::ChooseRecordFiles(QWidget* parent, const QString& initialFolder) {
    return QFileDialog::getOpenFileNames(parent, QString(), initialFolder);
}

QString QtPlatformServices::ChooseFolder(QWidget* parent, const QString& initialFolder) {
    return QFileDialog::getExistingDirectory(parent, QString(), initialFolder);
}

void QtPlatformServices::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatformServices::OpenWebPage(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

bool QtPlatformServices::Confirm(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
