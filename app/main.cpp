#include "ui/checker_app.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

void sayMissingDisplay(const char* detail) {
    std::fprintf(stderr, "Pomelak: cannot open a window: %s; start it in a graphical session or under xvfb-run.\n",
                 detail);
}

bool displayConfigured() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
#endif
}

// Qt ends with an abort and a core dump when no window system can be reached; end with one line instead.
// The platform plugins' own warnings lead up to that end and would only repeat it.
void exitOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        sayMissingDisplay(display.isEmpty() ? "no window system could be reached"
                                            : qPrintable(QStringLiteral("display %1 could not be reached")
                                                             .arg(QString::fromLocal8Bit(display))));
        std::_Exit(1);
    }
    if (context.category != nullptr && qstrncmp(context.category, "qt.qpa", 6) == 0) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv) {
    if (!displayConfigured()) {
        sayMissingDisplay("no display found (DISPLAY and WAYLAND_DISPLAY are not set)");
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(exitOnFatalMessage);
    pomelak::CCheckerApp app(argc, argv);
    qInstallMessageHandler(previous);
    return app.InitInstance();
}
