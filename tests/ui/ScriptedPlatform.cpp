#include "ScriptedPlatform.h"

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

bool ScriptedPlatform::Confirm(QWidget*, const QString& question) {
    questions.append(question);
    if (confirmAnswers.empty()) {
        return true;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}
