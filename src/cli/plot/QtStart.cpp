#include "plot/QtStart.h"

#include <cstdio>

namespace travik::cli {
namespace {

QtMessageHandler previousHandler = nullptr;

// Where no login session gives a runtime folder (a cron job, a container, ssh as root) Qt warns
// that it falls back to one in /tmp. The renderer keeps nothing there, so a script's terminal
// should not carry that line; every other message goes on as before.
void DropRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
    }
}

}  // namespace

std::unique_ptr<QApplication> StartQt() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    previousHandler = qInstallMessageHandler(DropRuntimeFolderNotice);
    static int argc = 1;
    static char name[] = "travik-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace travik::cli
