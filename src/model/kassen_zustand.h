#pragma once
// The state of the register: everything the model keeps for the window,
// alive from start-up to shutdown.
#include "core/tasten.h"
#include "persistence/einstellungen.h"
#include "core/geld.h"
#include "persistence/tasten_layout.h"

#include <QString>
#include <array>

namespace zanti {


struct KassenZustand
{
    int Taste = 0;               // article key last pressed, 1..35
    bool Gegeben = false;        // while the keypad takes the amount given
    Cent G_Summe = 0;            // total of the receipt just closed
    Cent Gesamteinnahme = 0;     // takings since the counts were cleared
    bool Einstellmodus = false;
    int Tischnummer = 0;         // current table number, 0 = none yet
    QString Anzahl_Eingabe;      // quantity typed, "0" = none
    QString DBPfad;              // the receipt database

    TastenLayout Tasten;         // text, price and colour of keys 1..35

    // Units sold per key 1..35 and the takings in element 36, all in
    // hundredths so that counts and money stay exact.
    Verkaufszahlen Verkauft{};

    Cent BonSumme = 0;           // sum of the receipt while it is closed
    qint32 Zaehler = 0;          // number of the next protocol line
    qint32 ProtokollZeilen = 0;  // protocol lines read at start-up

    Einstellungen Einstellung;   // settings 1..9 (Einstellungen.ini)
    Kopfzeilen Kopfzeile;        // receipt head lines 1..4 (bonkopf.ini)
};

} // namespace zanti
