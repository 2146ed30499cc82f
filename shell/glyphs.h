// Code points of the Material Design icons the program's buttons show
// (drawn with controls/rb_fonts.h materialGlyph).
#pragma once

namespace quillmere {

// Code points of the icons the windows use.
namespace glyph {
inline constexpr char16_t kChevronLeft = 0xE5CB;
inline constexpr char16_t kChevronRight = 0xE5CC;
inline constexpr char16_t kToday = 0xE8DF;
inline constexpr char16_t kEvent = 0xE878;
inline constexpr char16_t kSaveAlt = 0xE171;
inline constexpr char16_t kSettings = 0xE8B8;
inline constexpr char16_t kExitToApp = 0xE879;
inline constexpr char16_t kCheck = 0xE5CA;
inline constexpr char16_t kClose = 0xE5CD;
inline constexpr char16_t kLockOpen = 0xE898;
inline constexpr char16_t kSave = 0xE161;
inline constexpr char16_t kCancel = 0xE5C9;
inline constexpr char16_t kHistory = 0xE889;
}  // namespace glyph

}  // namespace quillmere
