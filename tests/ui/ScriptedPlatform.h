#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QSettings;
#include <deque>
#include <vector>

#include "ui/app/PlatformServices.h"

// A platform seam for tests: records every message (kind and exact text), answers the file
// and folder dialogs from queues (an empty answer is a cancel) and keeps the clipboard text.
class ScriptedPlatform final : public PlatformServices {
  public:
    struct Message {
        MessageKind kind;
        QString text;
    };

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
    QSettings* RememberedSettingsStore() override { return settings; }
    QString ChooseWorkspaceFile(QWidget* parent, bool forSaving,
                                const QString& initialFolder) override;

    std::vector<Message> messages;
    std::deque<QStringList> fileAnswers;  // next answers of the file dialog
    std::deque<QString> folderAnswers;    // next answers of the folder dialog
    QStringList fileDialogFolders;        // initial folders the file dialog was opened in
    QStringList folderDialogFolders;      // initial folders the folder dialog was opened in
    QString clipboard;
    std::vector<QUrl> openedPages;
    QStringList questions;            // every question asked, in order
    std::deque<bool> confirmAnswers;  // next answers (Yes when none is queued)
    // Image saving: the next answers (path, format, options; an empty path is a cancel),
    // the names suggested, the clipboard picture and the pages printed (drawn into images).
    struct ImageAnswer {
        QString path;
        travik::figures::ImageFormat format = travik::figures::ImageFormat::Png;
        travik::figures::ImageOptions options;
    };
    std::deque<ImageAnswer> imageAnswers;
    QStringList suggestedImageNames;
    QImage clipboardImage;
    std::vector<QImage> printedPages;
    // Workspace files: the next answers (an empty path is a cancel) and the folders the
    // dialog was opened in.
    std::deque<QString> workspaceAnswers;
    QStringList workspaceDialogFolders;
    // The remembered settings' store; nothing remembers nothing (most tests).
    QSettings* settings = nullptr;
};
