// The application object: its title, the presenter that shows errors caught
// by the handler guard (store/handler_guard.h), and a last-resort catch for
// an exception that escaped a handler anyway.
#pragma once

#include <QApplication>

namespace quillmere {

// The program's title, shown on the default error display and the task bar.
inline constexpr const char* kApplicationTitle = "Quillmere";

// Shows errors caught by the handler guard in the program's boxes: the
// "Error" box (ShowErrorBox) or the default error display
// (ShowUnhandledError). Installed by QuillmereApplication.
void InstallErrorPresenter();

class QuillmereApplication : public QApplication {
    Q_OBJECT
public:
    // Sets the application name to kApplicationTitle and installs the error
    // presenter.
    QuillmereApplication(int& argc, char** argv);
    ~QuillmereApplication() override;

    // Delivers the event. Handlers catch their own errors through the guard;
    // an exception that still escapes one has crossed Qt's event code, so it
    // is logged as a fault, shown on the default error display, and the event
    // counts as handled. Never throws.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quillmere
