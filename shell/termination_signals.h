// SIGTERM and SIGHUP (what a logout, a shutdown or `kill` sends) and the
// desktop session's end request, turned into one Qt signal on the
// user-interface thread, so the program can end the way its Exit button ends
// it instead of being cut off.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillmere {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for the lifetime of the object (one object at a
    // time; the previous handlers come back when it is destroyed).
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    // The program is asked to end; emitted on the user-interface thread.
    void endRequested();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quillmere
