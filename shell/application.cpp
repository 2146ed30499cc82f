#include "shell/application.h"

#include "shell/message_boxes.h"
#include "store/handler_guard.h"

#include <QtGlobal>

namespace quillmere {

void InstallErrorPresenter() {
    setErrorPresenter([](ErrorDisplay display, const QString& message) {
        if (display == ErrorDisplay::kErrorBox) {
            ShowErrorBox(QApplication::activeWindow(), message);
        } else {
            ShowUnhandledError(message);
        }
    });
}

QuillmereApplication::QuillmereApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(kApplicationTitle));
    InstallErrorPresenter();
}

QuillmereApplication::~QuillmereApplication() {
    setErrorPresenter({});
}

bool QuillmereApplication::notify(QObject* receiver, QEvent* event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        try {
            message = currentExceptionMessage();
        } catch (...) {
        }
    }
    // The receiver may be gone by now: only the message is logged.
    qCritical("an exception escaped an unguarded handler through Qt: %s", qUtf8Printable(message));
    presentError(ErrorDisplay::kDefault, message);
    return true;
}

}  // namespace quillmere
