#pragma once
// One line of the open receipt, as table "Bon" keeps it, with the cents
// beside the texts the grid and the receipt show.
#include "core/geld.h"

#include <QString>

namespace zanti {

// The columns of table Bon, as the receipt grid shows them.
enum BonSpalte {
    SpalteAutowert = 0,
    SpalteAnzahl,
    SpalteArtikel,
    SpaltePreis,
    SpalteTastennr,
    SpalteBonId,
    Spaltenzahl
};

struct BonZeile
{
    qint64 Autowert = 0;   // set by the database
    QString Anzahl;        // quantity as typed: "1" to "9" or "10"
    QString Artikel;       // article text at the moment of booking
    QString Preis;         // line amount (price x quantity), "###0.00"
    Cent Menge = 0;        // the quantity in hundredths: "1" is 100
    Cent Betrag = 0;       // the line amount in cents
    int Tastennr = 0;      // article key 1..35
    qint32 BonId = 0;      // number of the line's protocol entry
};

} // namespace zanti
