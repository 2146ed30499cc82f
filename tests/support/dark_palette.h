// A dark desktop palette for tests: Fusion's dark colours, as a dark theme
// (Breeze Dark through the KDE platform theme, for one) hands them to Qt.
#pragma once

#include <QPalette>

namespace testsupport {

QPalette darkFusionPalette();

}  // namespace testsupport
