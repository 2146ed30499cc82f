// The program's icon: a quill over an open diary page, drawn once as SVG so it
// scales cleanly; shown in the date header (32 x 32) and as the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace quillmere {

// The icon drawn at `size` x `size` pixels on a transparent background.
QPixmap ProgramIconPixmap(int size = 32);

// The icon at the usual sizes for windows and the task bar.
QIcon ProgramIcon();

}  // namespace quillmere
