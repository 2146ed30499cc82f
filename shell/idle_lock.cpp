#include "shell/idle_lock.h"

#include "store/profile_file.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>

namespace quillmere {

int ReadLockMinutes(const QString& path) {
    const int minutes =
        ProfileFile(path).readInteger(QString::fromLatin1(kPrivacySection),
                                      QString::fromLatin1(kLockMinutesKey), kDefaultLockMinutes);
    return std::clamp(minutes, 0, kMaxLockMinutes);
}

IdleLock::IdleLock(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(false);
    connect(&timer_, &QTimer::timeout, this, &IdleLock::idle);
    QCoreApplication::instance()->installEventFilter(this);
}

IdleLock::~IdleLock() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void IdleLock::setMinutes(int minutes) {
    minutes_ = std::max(0, minutes);
    if (minutes_ == 0) {
        timer_.stop();
    } else {
        timer_.start(minutes_ * 60 * 1000);
    }
}

bool IdleLock::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            if (timer_.isActive()) {
                timer_.start();
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quillmere
