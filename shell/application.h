// The application object: its title and the default error display for any
// error that no handler of a window caught.
#pragma once

#include <QApplication>

namespace quillmere {

// The program's title, shown on the default error display and the task bar.
inline constexpr const char* kApplicationTitle = "Quillmere";

class QuillmereApplication : public QApplication {
    Q_OBJECT
public:
    // Sets the application name to kApplicationTitle.
    QuillmereApplication(int& argc, char** argv);

    // Delivers the event; a quillmere::Error or std::exception escaping from
    // a handler is shown by ShowUnhandledError and the event counts as
    // handled, so the program carries on.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quillmere
