#pragma once
// Sales report, key list and help text as pure functions: the
// writes for the printer (lines end with LF, texts through UmlauteWandeln)
// and the text for the window Anzeige (lines end with CR LF, no conversion).
#include "core/tasten.h"
#include "core/geld.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>

namespace zanti {

// What the reports read from the register; the arrays are used from index 1.
struct BerichtDaten
{
    // Verkauft(1..35) units sold per key, Verkauft(36) the takings; all in
    // hundredths, so 12 units are 1200 and 1234,50 Euro are 123450.
    Verkaufszahlen Verkauft{};
    JeTaste<QString> ArtikelText;
    JeTaste<QString> ArtikelPreis;
    std::array<QString, 6> Kopfzeile;   // header lines 1..4
    int BonImageNr = 0;
    QTime zeit;
    QDate datum;
};

// Foot of both printed reports: rule, time + 24 spaces + date without a line
// end, ESC d 5, GS V 49.
QList<QByteArray> BerichtFuss(const QTime &zeit, const QDate &datum);

QList<QByteArray> VerkaufsbelegDruck(const BerichtDaten &daten);
QString VerkaufsbelegText(const BerichtDaten &daten);

QList<QByteArray> TastenbelegungDruck(const BerichtDaten &daten);
QString TastenbelegungText(const BerichtDaten &daten);

// The help text; the same whether the printer is on or off.
QString HilfeText();

} // namespace zanti
