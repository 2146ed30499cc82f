// The idle time after which an encrypted diary locks: the user's keys,
// clicks and wheel turns anywhere in the program restart the count. The
// minutes are kept in "FontSettings.Ini" under a key of this program's own
// ([Privacy] LockMinutes=10), which the program reads but never writes, so
// the file of a diary that does not change it stays as it was.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace quillmere {

inline constexpr char kPrivacySection[] = "Privacy";
inline constexpr char kLockMinutesKey[] = "LockMinutes";
constexpr int kDefaultLockMinutes = 10;
// Longer waits are taken as this many minutes (a day).
constexpr int kMaxLockMinutes = 24 * 60;

// The lock minutes of the font settings file at `path`: 10 when missing or
// not a number, 0 (never) for 0 or less. Throws FileError when the file
// exists but cannot be read.
int ReadLockMinutes(const QString& path);

class IdleLock : public QObject {
    Q_OBJECT
public:
    // Watches the whole application's input.
    explicit IdleLock(QObject* parent = nullptr);
    ~IdleLock() override;

    // Starts counting `minutes` of no input; 0 stops the count.
    void setMinutes(int minutes);
    int minutes() const { return minutes_; }

signals:
    // No input for the set minutes; the count starts again.
    void idle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer timer_;
    int minutes_ = 0;
};

}  // namespace quillmere
