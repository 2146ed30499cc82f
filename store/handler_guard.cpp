#include "store/handler_guard.h"

#include "store/errors.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <exception>

namespace quillmere {

namespace {

ErrorPresenter& presenter() {
    static ErrorPresenter instance;
    return instance;
}

}  // namespace

ErrorPresenter setErrorPresenter(ErrorPresenter newPresenter) {
    ErrorPresenter previous = std::move(presenter());
    presenter() = std::move(newPresenter);
    return previous;
}

void presentError(ErrorDisplay display, const QString& message) noexcept {
    try {
        if (presenter()) {
            presenter()(display, message);
            return;
        }
        qCritical("%s", qUtf8Printable(message));
    } catch (...) {
        // Showing the message failed (no memory for the box, a presenter that
        // threw): the log is all that is left.
        qCritical("error display failed: %s", qUtf8Printable(message));
    }
}

QString currentExceptionMessage() {
    try {
        throw;
    } catch (const Error& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QCoreApplication::translate("quillmere::Store", "Unknown error");
    }
}

bool runGuarded(ErrorDisplay display, const std::function<void()>& handler) noexcept {
    QString message;
    try {
        handler();
        return true;
    } catch (...) {
        try {
            message = currentExceptionMessage();
        } catch (...) {
            message = QStringLiteral("Out of memory");
        }
    }
    // Shown after the handler's exception is finished with, so the box's
    // own event loop runs outside any catch block.
    presentError(display, message);
    return false;
}

}  // namespace quillmere
