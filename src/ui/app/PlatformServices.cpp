#include "ui/app/PlatformServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>

#include "ui/app/ScreenFit.h"
#include "ui/figures/FigureDialogs.h"

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

QString QtPlatformServices::ChooseImageFile(QWidget* parent, const QString& suggestedName,
                                            travik::figures::ImageFormat& format,
                                            travik::figures::ImageOptions& options) {
    travik::figures::ImageOptionsDialog dialog(format, options, parent);
    KeepOnScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const travik::figures::ImageFormat chosen = dialog.Format();
    const QString suffix = travik::figures::ImageFormatSuffix(chosen);
    QString path = QFileDialog::getSaveFileName(
        parent, QString(), suggestedName + QLatin1Char('.') + suffix,
        suffix.toUpper() + QStringLiteral(" (*.") + suffix + QLatin1Char(')'));
    if (path.isEmpty()) {
        return {};
    }
    if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive)) {
        path += QLatin1Char('.') + suffix;
    }
    format = chosen;
    options = dialog.Options();
    return path;
}

void QtPlatformServices::SetClipboardImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

void QtPlatformServices::PrintPage(QWidget* parent, const PagePainter& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QPainter painter(&printer);
    paint(painter, QRectF(printer.pageRect(QPrinter::DevicePixel)), printer.resolution() / 96.0);
}

bool QtPlatformServices::Confirm(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QtPlatformServices::QtPlatformServices() = default;
QtPlatformServices::~QtPlatformServices() = default;

QSettings* QtPlatformServices::RememberedSettingsStore() {
    if (!settings_) {
        settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("TRAVIK"), QStringLiteral("TRAVIK"));
    }
    return settings_.get();
}

QString QtPlatformServices::ChooseWorkspaceFile(QWidget* parent, bool forSaving,
                                                const QString& initialFolder) {
    const QString filter = QStringLiteral("TRAVIK workspaces (*.travik);;All files (*)");
    if (!forSaving) {
        return QFileDialog::getOpenFileName(parent, QString(), initialFolder, filter);
    }
    QString path = QFileDialog::getSaveFileName(parent, QString(), initialFolder, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".travik");
    }
    return path;
}
