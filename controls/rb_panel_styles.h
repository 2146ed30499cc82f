// The three panel looks the program's windows are framed with.
#pragma once

#include "controls/rb_panel.h"

namespace quillmere {

// Height of a title bar and of a button bar.
inline constexpr int kBarHeight = 45;

// A title bar: 45 high, double vertical blue gradient (#1084D0 in the middle
// to #71B8FF at the edges), square corners, 1-pixel grey frame, the caption
// centred in white Arial bold `captionHeight` pixels high without shadow.
void applyTitleBarStyle(TRbPanel& panel, int captionHeight = 29);

// A button bar: as the title bar, green (#009F00 to #03C752), no caption.
void applyButtonBarStyle(TRbPanel& panel);

// A content frame: smoothed white frame with a silver border of borderWidth
// pixels and corners of cornerWidth, caption top centre in black Arial bold
// 19 pixels with a white shadow; grows to fill the space it is given.
void applyContentFrameStyle(TRbPanel& panel, int cornerWidth = 25, int borderWidth = 7);

}  // namespace quillmere
