// Entering event handlers and slots so that no exception ever crosses Qt's
// own code.
//
// Qt does not support exceptions thrown through its event delivery or its
// signal code: an exception leaving a slot or an event override unwinds Qt
// frames, leaks the event's objects and may leave Qt in a broken state. So
// every handler that can throw (anything that touches the journal, files,
// dialogs, the editor's content, or allocates without bound) is entered
// through this guard, which catches at the handler's edge:
//
//   connect(btnSave, &TRbButton::OnClick, this, guardSlot(this, &TfrmSettings::btnSaveClick));
//   connect(action, &QAction::triggered, this, guardSlot([this] { ... }));
//   void TfrmMain::closeEvent(QCloseEvent* event) {
//       runGuarded([&] { ... });
//   }
//
// What escapes the handler (quillmere::Error, any std::exception, anything
// else) is shown on the display the guard was given:
//   ErrorDisplay::kDefault   the application's default error display (titled
//                            with the application title, stop icon, OK, the
//                            message with its full stop) - for handlers that
//                            do not catch errors themselves;
//   ErrorDisplay::kErrorBox  the "Error" box - for handlers whose design is to
//                            catch any error and show it there.
// Handlers that already catch their own errors keep doing so; the guard then
// only sees what they let through.
//
// The guard lives in the store so that every layer (editor, search, export,
// shell) can use it; it knows nothing of windows. The shell installs the
// presenter that shows the boxes (setErrorPresenter) before any window is
// made; until then, and in programs without windows, caught errors go to the
// log (qCritical).
//
// New handlers: connect them with guardSlot, or begin an event override with
// runGuarded. QuillmereApplication::notify keeps a last-resort catch, but an
// exception that reaches it has already crossed Qt's code.
#pragma once

#include <QString>

#include <concepts>
#include <functional>
#include <utility>

namespace quillmere {

// Where a caught error is shown.
enum class ErrorDisplay {
    kDefault,   // the application's default error display
    kErrorBox,  // the "Error" box
};

// Shows a caught error's message on a display.
using ErrorPresenter = std::function<void(ErrorDisplay, const QString& message)>;

// Installs the presenter used by every guard and returns the previous one
// (empty: caught errors are logged). Not thread-safe: call it from the
// user-interface thread while no handler runs.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Shows a message through the installed presenter, or logs it when there is
// none. Never throws: a presenter that throws is logged and ignored.
void presentError(ErrorDisplay display, const QString& message) noexcept;

// The message of the exception being handled: Error::message(), what() of a
// std::exception, or a fixed text for anything else. Call only inside a
// catch block.
QString currentExceptionMessage();

// Runs `handler`; whatever it throws is caught and shown on `display`.
// Returns true when the handler finished without an exception. Never throws.
bool runGuarded(ErrorDisplay display, const std::function<void()>& handler) noexcept;

// runGuarded on the default error display.
inline bool runGuarded(const std::function<void()>& handler) noexcept {
    return runGuarded(ErrorDisplay::kDefault, handler);
}

// A slot for connect() that runs object->handler(args...) through runGuarded.
// The signal's extra arguments are dropped, as with a plain member slot.
template <class Object, class Class, class Result, class... Args>
requires std::derived_from<Object, Class>
auto guardSlot(Object* object, Result (Class::*handler)(Args...),
               ErrorDisplay display = ErrorDisplay::kDefault) {
    return [object, handler, display](Args... args) -> void {
        runGuarded(display, [&] { (object->*handler)(std::forward<Args>(args)...); });
    };
}

// A slot for connect() that runs `functor` through runGuarded; it takes the
// signal's arguments the functor can take.
template <class Functor>
requires(!std::is_member_function_pointer_v<Functor>) auto guardSlot(
    Functor functor, ErrorDisplay display = ErrorDisplay::kDefault) {
    return [ functor = std::move(functor), display ](
               auto&&... args) -> void requires std::invocable<const Functor&, decltype(args)...> {
        runGuarded(display, [&] { functor(std::forward<decltype(args)>(args)...); });
    };
}

}  // namespace quillmere
