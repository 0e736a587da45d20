#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

#include "ui/figures/FigureExport.h"

class QImage;
class QSettings;
class QPainter;
class QRectF;

class QWidget;

// Everything that blocks or touches the desktop goes through this seam, so that tests can
// script dialogs and read back every message without a modal loop.
class PlatformServices {
  public:
    enum class MessageKind { Information, Warning, Plain };

    virtual ~PlatformServices() = default;

    // A modal box with a single OK button and the toolkit's default title.
    virtual void ShowMessage(QWidget* parent, MessageKind kind, const QString& text) = 0;
    // Multi-select file-open dialog; an empty list means the user cancelled.
    virtual QStringList ChooseRecordFiles(QWidget* parent, const QString& initialFolder) = 0;
    // Folder dialog; an empty text means the user cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& initialFolder) = 0;
    // Replaces the clipboard's content with plain text.
    virtual void SetClipboardText(const QString& text) = 0;
    // Shows a web page in the default browser; failures are not reported.
    virtual void OpenWebPage(const QUrl& url) = 0;
    // A modal question with Yes and No buttons (No the default); true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& question) = 0;

    // Chart images. Seams that have no use for them keep these answers: cancelled, nothing.
    // Asks where and how to save a chart image: the file, and the format, size and
    // resolution (given as the ones to offer). An empty path means the user cancelled.
    virtual QString ChooseImageFile(QWidget* /*parent*/, const QString& /*suggestedName*/,
                                    travik::figures::ImageFormat& /*format*/,
                                    travik::figures::ImageOptions& /*options*/) {
        return {};
    }
    // Replaces the clipboard's content with a picture.
    virtual void SetClipboardImage(const QImage& /*image*/) {}
    // Asks for a printer and prints one page drawn by `paint` into the page rectangle, with
    // the device pixels per logical pixel; nothing when the user cancels.
    using PagePainter = std::function<void(QPainter&, const QRectF& page, double scale)>;
    virtual void PrintPage(QWidget* /*parent*/, const PagePainter& /*paint*/) {}
    // The store the program remembers its settings in between runs; nothing (the default)
    // remembers nothing.
    virtual QSettings* RememberedSettingsStore() { return nullptr; }
    // Asks for a workspace file (.travik) to write (`forSaving`, the name typed gets the
    // extension when it has none) or to open; an empty path (the default) is a cancel.
    virtual QString ChooseWorkspaceFile(QWidget* /*parent*/, bool /*forSaving*/,
                                        const QString& /*initialFolder*/) {
        return {};
    }
};

// The real desktop: QMessageBox, QFileDialog, QClipboard, QDesktopServices.
class QtPlatformServices final : public PlatformServices {
  public:
    QtPlatformServices();
    ~QtPlatformServices() override;
    QtPlatformServices(const QtPlatformServices&) = delete;
    QtPlatformServices& operator=(const QtPlatformServices&) = delete;
    void ShowMessage(QWidget* parent, MessageKind kind, const QString& text) override;
    QStringList ChooseRecordFiles(QWidget* parent, const QString& initialFolder) override;
    QString ChooseFolder(QWidget* parent, const QString& initialFolder) override;
    void SetClipboardText(const QString& text) override;
    void OpenWebPage(const QUrl& url) override;
    bool Confirm(QWidget* parent, const QString& question) override;
    QString ChooseImageFile(QWidget* parent, const QString& suggestedName,
                            travik::figures::ImageFormat& format,
                            travik::figures::ImageOptions& options) override;
    void SetClipboardImage(const QImage& image) override;
    void PrintPage(QWidget* parent, const PagePainter& paint) override;
    // The user's settings in the platform's native place (the registry, a plist, an INI
    // file under ~/.config), opened on first use.
    QSettings* RememberedSettingsStore() override;
    QString ChooseWorkspaceFile(QWidget* parent, bool forSaving,
                                const QString& initialFolder) override;

  private:
    std::unique_ptr<QSettings> settings_;
};
