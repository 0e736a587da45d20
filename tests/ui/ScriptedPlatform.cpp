#include "ScriptedPlatform.h"

#include <QImage>
#include <QPainter>

void ScriptedPlatform::ShowMessage(QWidget*, MessageKind kind, const QString& text) {
    messages.push_back({kind, text});
}

QStringList ScriptedPlatform::ChooseRecordFiles(QWidget*, const QString& initialFolder) {
    fileDialogFolders.append(initialFolder);
    if (fileAnswers.empty()) {
        return {};
    }
    QStringList answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::ChooseFolder(QWidget*, const QString& initialFolder) {
    folderDialogFolders.append(initialFolder);
    if (folderAnswers.empty()) {
        return {};
    }
    QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void ScriptedPlatform::SetClipboardText(const QString& text) {
    clipboard = text;
}

void ScriptedPlatform::OpenWebPage(const QUrl& url) {
    openedPages.push_back(url);
}

QString ScriptedPlatform::ChooseImageFile(QWidget*, const QString& suggestedName,
                                          travik::figures::ImageFormat& format,
                                          travik::figures::ImageOptions& options) {
    suggestedImageNames << suggestedName;
    if (imageAnswers.empty()) {
        return {};
    }
    const ImageAnswer answer = imageAnswers.front();
    imageAnswers.pop_front();
    format = answer.format;
    options = answer.options;
    return answer.path;
}

void ScriptedPlatform::SetClipboardImage(const QImage& image) {
    clipboardImage = image;
}

void ScriptedPlatform::PrintPage(QWidget*, const PagePainter& paint) {
    // An A4 landscape page at 96 DPI.
    QImage page(1123, 794, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    QPainter painter(&page);
    paint(painter, QRectF(page.rect()), 1.0);
    painter.end();
    printedPages.push_back(page);
}

bool ScriptedPlatform::Confirm(QWidget*, const QString& question) {
    questions.append(question);
    if (confirmAnswers.empty()) {
        return true;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString ScriptedPlatform::ChooseWorkspaceFile(QWidget*, bool, const QString& initialFolder) {
    workspaceDialogFolders.append(initialFolder);
    if (workspaceAnswers.empty()) {
        return {};
    }
    QString answer = workspaceAnswers.front();
    workspaceAnswers.pop_front();
    return answer;
}
