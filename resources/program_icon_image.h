// The program's icon picture (":/desktop/quillmere.svg", a quill over an open
// diary), rendered at any size. The window icon, the date header's picture and
// the PNG icons installed for the desktop all come from this one function, so
// they are the same picture.
#pragma once

#include <QImage>

namespace quillmere {

// The icon rendered at `size` x `size` pixels on a transparent background
// (premultiplied ARGB). A size below 1 gives a null image. Never throws.
QImage ProgramIconImage(int size);

}  // namespace quillmere
