// The small dialogs of the diary's encryption: the new password typed a
// second time (with the warning that a forgotten password cannot be
// recovered), and the current password asked before encryption is turned
// off.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace quillmere {

enum class PasswordQuestion {
    kConfirmNew,  // the new password again, with the warning
    kCurrent,     // the diary's password, to turn encryption off
};

// Shows the question modally; the typed text, or nothing when cancelled.
std::optional<QString> AskPassword(QWidget* parent, PasswordQuestion question);

// The warning shown when encryption is turned on or the password changed.
QString ForgottenPasswordWarning();

// Replaces the dialog (tests); an empty hook restores it.
using PasswordHook = std::function<std::optional<QString>(PasswordQuestion)>;
void SetPasswordHook(PasswordHook hook);

}  // namespace quillmere
