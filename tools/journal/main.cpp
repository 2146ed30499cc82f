// quillmere-journal: works on a journal file from the command line.
#include "tools/journal/commands.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

// The tool reports its own failures in one line on standard error; Qt's
// start-up chatter (for example about XDG_RUNTIME_DIR on a headless
// machine) would break that promise, so only Qt's fatal messages get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietQtMessages);
    // Reading rich text needs fonts, so the tool runs a GUI application; it
    // never shows a window, so it always uses the offscreen platform (also
    // when QT_QPA_PLATFORM is set but empty, which would otherwise mean the
    // desktop's platform and fail in a terminal without a display).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    int code = quillmere::journaltool::runTool(app.arguments().mid(1), out, err);
    // Output that never arrived (a full disk, a closed pipe) is a failure,
    // not a success.
    if (!out.flush() || out.error() != QFileDevice::NoError) {
        err.write(QByteArray("quillmere-journal: cannot write to standard output: ") +
                  out.errorString().toLocal8Bit() + '\n');
        code = 1;
    }
    err.flush();
    return code;
}
