#include "shell/application.h"

#include "shell/message_boxes.h"
#include "store/errors.h"

#include <exception>

namespace quillmere {

QuillmereApplication::QuillmereApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(kApplicationTitle));
}

bool QuillmereApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& e) {
        ShowUnhandledError(e.message());
    } catch (const std::exception& e) {
        ShowUnhandledError(QString::fromUtf8(e.what()));
    }
    return true;
}

}  // namespace quillmere
