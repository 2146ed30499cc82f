// Which of Enchant's providers serve the program's dictionaries (used only
// inside the spelling library).
#pragma once

#include <QByteArray>

#include <enchant.h>

namespace quillmere::spelling {

// Makes `broker` serve `tag` from the Hunspell provider (Nuspell next), so
// an installed Aspell never answers in its place.
void useHunspellFor(EnchantBroker* broker, const QByteArray& tag);

// True for the providers that read Hunspell dictionaries.
bool isHunspellProvider(const char* providerName);

}  // namespace quillmere::spelling
