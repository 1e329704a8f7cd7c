#pragma once
// Settings 1..9 (Einstellungen.ini) and the four receipt head lines
// (bonkopf.ini).
#include "persistence/ini_datei.h"

#include <QString>
#include <array>

namespace zanti {

// Settings 1..9 of Einstellungen.ini by name. A switch is on only when its
// text reads as 1. Settings 4, 8 and 9 keep their text as read, so a file
// written by hand goes back unchanged; 6 keeps its text too, since the port
// messages name it as stored ("Com Unbekannt" on a first start).
struct Einstellungen
{
    bool DruckerEin = false;          // 1: the receipt printer is on
    bool Einzelbon = false;           // 2: every item gets its own receipt
    bool TischnummerAnzeige = false;  // 3: table numbers are asked for
    QString Passwort;                 // 4: opens set-up mode
    int BonImageNr = 0;               // 5: logo of the receipt head, 0 = none
    QString ComPort;                  // 6 (7 is written as its copy)
    QString Salat;                    // 8: key 25 prints a coupon, "1" = on
    QString Einstellung9;             // 9: no meaning, kept as read
};
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
