#include "store/font_settings.h"

#include "store/profile_file.h"

namespace quillmere {

namespace {
const QString kFont = QStringLiteral("Font");
const QString kSettings = QStringLiteral("Settings");
const QString kName = QStringLiteral("Name");
const QString kCharset = QStringLiteral("Charset");
const QString kSkip = QStringLiteral("Skip");
const QString kSpelling = QStringLiteral("Spelling");
}  // namespace

FontSettings ReadFontSettings(const QString& path) {
    const ProfileFile ini(path);
    const FontSettings defaults;
    FontSettings s;
    s.name = ini.readString(kFont, kName, defaults.name);
    s.charset = ini.readInteger(kFont, kCharset, defaults.charset);
    s.skip = ini.readBool(kSettings, kSkip, defaults.skip);
    s.spelling = ini.readString(kSettings, kSpelling, defaults.spelling);
    return s;
}

void WriteFontSettings(const QString& path, const FontSettings& settings) {
    const ProfileFile ini(path);
    ini.writeString(kFont, kName, settings.name);
    ini.writeInteger(kFont, kCharset, settings.charset);
    ini.writeBool(kSettings, kSkip, settings.skip);
    if (!settings.spelling.isEmpty()) {
        ini.writeString(kSettings, kSpelling, settings.spelling);
    }
}

}  // namespace quillmere
