// Shows the hourglass for a long piece of work and restores the arrow when
// the work ends, also when it ends with an error.
#pragma once

#include <QApplication>
#include <QCursor>

namespace quillmere {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace quillmere
