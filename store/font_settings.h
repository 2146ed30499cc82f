// "FontSettings.Ini": the date header's font name and character set, and the
// "Skip empty entries" option.
//
//   [Font]
//   Name=Arial        default "Arial"
//   Charset=1         default 1 (the default character set)
//   [Settings]
//   Skip=0            default 0; any integer other than 0 is on
//   Spelling=en_US    the spell-checking language ("Off": none); written
//                     only once the user chose one, so a diary that never
//                     did keeps the file as it was (older readers ignore it)
#pragma once

#include <QString>

namespace quillmere {

inline constexpr char kFontSettingsFileName[] = "FontSettings.Ini";

struct FontSettings {
    QString name = QStringLiteral("Arial");
    int charset = 1;
    bool skip = false;
    // The chosen spelling language (a dictionary tag or "Off"); empty when
    // none was chosen: then the user's locale decides.
    QString spelling;
};

// Reads the file key by key; missing keys (or a missing file) give the
// defaults. Throws FileError when the file exists but cannot be read.
FontSettings ReadFontSettings(const QString& path);

// Writes the three keys, and "Spelling" when a language was chosen, keeping
// every other line of the file; creates the file when missing. Throws FileError naming the file
// when it cannot be written (the old file then stays as it was).
void WriteFontSettings(const QString& path, const FontSettings& settings);

}  // namespace quillmere
