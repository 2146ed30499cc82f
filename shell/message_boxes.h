// The program's three small message boxes and its default error display.
// Every window shows its messages through these functions so that tests can
// replace the modal box by a hook that records the call and returns a
// scripted answer.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPoint;
class QRect;
class QSize;
class QWidget;

namespace quillmere {

// The kinds of box the program shows.
enum class MessageKind {
    Error,         // "Error", critical icon, OK
    Information,   // "Information", information icon, OK
    Confirmation,  // "Confirm", question icon, Yes and No
    Unhandled,     // application title, stop icon, OK (the default error display)
};

// One box as it would be shown.
struct MessageRequest {
    MessageKind kind;
    QString title;
    QString text;
};

// Replaces the modal box. Returns true for "Yes" (only read for Confirmation).
using MessageHook = std::function<bool(const MessageRequest&)>;

// Replaces a question box with buttons of its own (ShowChoiceBox); returns
// the index of the button chosen.
using ChoiceHook = std::function<int(const MessageRequest&, const QStringList& buttons)>;

// Shows an error's message in the error box.
void ShowErrorBox(QWidget* parent, const QString& message);

// Shows a message in the information box.
void ShowInformationBox(QWidget* parent, const QString& message);

// Asks a question in the confirmation box; true when the user chose Yes.
bool ShowConfirmBox(QWidget* parent, const QString& question);

// Asks `question` in a "Confirm" box (question icon) whose buttons carry
// `buttons`, left to right; the first is the default button and the last one
// answers Escape and the window's close. When `keepVisible` is given and
// visible, the box is placed so that it does not cover that window. Returns
// the index of the chosen button. With no choice hook but a message hook
// installed, the hook answers it as a confirmation: Yes is button 0, No 1.
int ShowChoiceBox(QWidget* parent, const QString& question, const QStringList& buttons,
                  QWidget* keepVisible = nullptr);

// An error's message in an error box ("Error", error icon) whose buttons
// carry `buttons`, placed and answered as ShowChoiceBox does (the last button
// answers Escape and the window's close). A message hook answers it as
// ShowChoiceBox's does.
int ShowErrorChoiceBox(QWidget* parent, const QString& message, const QStringList& buttons,
                       QWidget* keepVisible = nullptr);

// The top-left corner for a box of `size` that must not cover `avoid`: below
// it when it fits on `screen`, else above, else to its right, else to its left,
// centred on `avoid` along the other axis and kept inside `screen`. When it
// fits nowhere, the box goes below `avoid`'s bottom edge as far as the screen
// allows.
QPoint PositionClearOf(const QRect& avoid, const QSize& size, const QRect& screen);

// The application's default error display for an error no handler caught:
// titled with the application title, stop icon, OK, showing
// UnhandledErrorText(message).
void ShowUnhandledError(const QString& message);

// The text of the default error display: the message with a full stop added
// unless its last character sorts at or before "." (so "Done." and "ok!"
// stay as they are, "data error" becomes "data error."). An empty message
// stays empty.
QString UnhandledErrorText(const QString& message);

// Installs a hook instead of real boxes for the lifetime of the guard; the
// previous hook (or the real boxes) come back when it ends.
class ScopedMessageHook {
public:
    explicit ScopedMessageHook(MessageHook hook);
    ~ScopedMessageHook();
    ScopedMessageHook(const ScopedMessageHook&) = delete;
    ScopedMessageHook& operator=(const ScopedMessageHook&) = delete;

private:
    MessageHook previous_;
};

// Installs a hook instead of real choice boxes for the lifetime of the guard.
class ScopedChoiceHook {
public:
    explicit ScopedChoiceHook(ChoiceHook hook);
    ~ScopedChoiceHook();
    ScopedChoiceHook(const ScopedChoiceHook&) = delete;
    ScopedChoiceHook& operator=(const ScopedChoiceHook&) = delete;

private:
    ChoiceHook previous_;
};

}  // namespace quillmere
