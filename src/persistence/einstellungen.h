#pragma once
// Settings 1..9 (Einstellungen.ini) and the four receipt head lines
// (bonkopf.ini).
#include "persistence/ini_datei.h"

#include <QString>
#include <array>

namespace zanti {

// Index 1..9 used: 1 printer, 2 single receipts, 3 table numbers,
// 4 password, 5 logo number, 6 and 7 COM port, 8 salad key, 9 unused.
using Einstellungen = std::array<QString, 21>;
// Index 1..4 used.
using Kopfzeilen = std::array<QString, 6>;

// Section "status", Einstellung1..9, 30-character buffer; missing ones read
// "Unbekannt" and are written back as such.
Einstellungen EinstellungenLesen(const IniDatei &ini);
void EinstellungenSchreiben(IniDatei &ini, const Einstellungen &einstellung);

// Section "kopf", Titel1..4: buffer 40 at start-up, 30 in the dialog.
Kopfzeilen KopfzeilenLesen(const IniDatei &ini, int puffer);
// An empty line is stored as one blank, which reads back empty.
void KopfzeilenSchreiben(IniDatei &ini, const Kopfzeilen &kopfzeile);

} // namespace zanti
