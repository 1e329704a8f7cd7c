#pragma once
// The key layout: text, price and colour of the 35 article keys, as kept in
// kasse.ini and in layout files (*.bon) of the same format.
#include "core/tasten.h"
#include "persistence/ini_datei.h"

#include <QString>
#include <array>

namespace zanti {

// Index 1..35 is key Command1..Command35; the rest stays unused.
struct TastenLayout
{
    JeTaste<QString> ArtikelText;
    JeTaste<QString> ArtikelPreis;   // empty: the key sells nothing
    JeTaste<QString> ArtikelFarbe;   // colour number as decimal text
};

// Missing keys read "Unbekannt". The buffer is 40 for kasse.ini at start-up
// and 30 for a layout file loaded by the user.
TastenLayout TastenLayoutLesen(const IniDatei &ini, int puffer);

// Sections Artikel, Preise, Farben, keys 1..35 each; an empty price is stored
// as one blank so that the key exists and reads back empty. A price of one
// blank (the editor's empty price) is empty in memory afterwards, so the key
// sells nothing.
void TastenLayoutSchreiben(IniDatei &ini, TastenLayout &layout);

} // namespace zanti
