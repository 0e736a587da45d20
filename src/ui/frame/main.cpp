// The desktop program: one main window; --version and --help are answered without it.
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <exception>
#include <iostream>
#include <optional>

#include "ui/app/PlatformServices.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/ProgramArguments.h"

namespace {

void ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// An error that no action handles is shown to the user and the event loop goes on.
class TravikApplication final : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ShowError(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            ShowError(QString());
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> ended = travik::AnswerInformationOptions(argc, argv, std::cout)) {
        return *ended;
    }
    try {
        TravikApplication application(argc, argv);
        // Message boxes without a title of their own show the application name.
        TravikApplication::setApplicationName(QStringLiteral("TRAVIK"));
        // Numbers follow the user's decimal separator but are never grouped.
        QLocale locale = QLocale::system();
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        QLocale::setDefault(locale);
        try {
            QtPlatformServices platform;
            TForm1 form(platform);
            form.show();
            form.OpenGivenFiles(travik::FileArguments(argc, argv));
            TravikApplication::exec();
        } catch (const std::exception& error) {
            ShowError(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            ShowError(QString());
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
    } catch (...) {
        std::cerr << "unknown error\n";
    }
    return 0;
}
