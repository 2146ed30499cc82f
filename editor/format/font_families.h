// The font families the program's font lists offer (the character map's and
// the settings window's).
#pragma once

#include <QStringList>

namespace quillmere {

// Family names as a font list shows them: the font database names a family
// that more than one foundry makes once per foundry ("C059 [urw]",
// "C059 [UKWN]"); each such family is listed once, under its own name. Names
// that differ only in letter case count as one (the first is kept); empty
// names are dropped. Sorted without regard to case. Never throws.
QStringList uniqueFamilyNames(const QStringList& databaseNames);

// The installed families as uniqueFamilyNames lists them, without the
// system's private ones, plus the names the program maps to an installed
// family ("Arial", "MS Sans Serif"), so that the design's fonts can be
// chosen. Never throws.
QStringList fontFamilyList();

// True when a font list may draw `family`'s name in that family: false for a
// symbol or icon font (dingbats, Material Icons), whose glyphs for the
// letters of its name are pictures or missing; such a name is drawn in the
// list's own font. Never throws.
bool showsItsOwnName(const QString& family);

}  // namespace quillmere
