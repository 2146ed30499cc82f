#include "shell/termination_signals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

namespace quillmere {

namespace {

// The handler may only write to a descriptor; the notifier reads it on the
// user-interface thread (the classic self-pipe).
int signalSockets[2] = {-1, -1};
struct sigaction previousTerm;
struct sigaction previousHup;

void onSignal(int number) {
    const char byte = static_cast<char>(number);
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(signalSockets[0], &byte, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        qWarning("Cannot watch for the end signals");
        return;
    }
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &previousTerm);
    sigaction(SIGHUP, &action, &previousHup);
    // The desktop asks a program to save its data before a logout.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { emit endRequested(); });
    }
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr) {
        return;
    }
    sigaction(SIGTERM, &previousTerm, nullptr);
    sigaction(SIGHUP, &previousHup, nullptr);
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void TerminationSignals::readSignal() {
    char byte = 0;
    if (::read(signalSockets[1], &byte, 1) == 1) {
        emit endRequested();
    }
}

}  // namespace quillmere
