#pragma once
// Receipt layouts as pure functions. Each element of a returned
// list is one write to the printer port, in the order the printer gets them.
#include "core/geld.h"
#include "core/bon_zeile.h"
#include "core/text_helfer.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>

namespace zanti {

// What BonDrucken reads from the register besides the rows.
struct BonDruckDaten
{
    int BonImageNr = 0;                 // logo number, 0 = no logo
    std::array<QString, 6> Kopfzeile;   // header lines 1..4
    bool Einzelbon = false;             // one receipt per row
    bool TischnummerAnzeige = false;    // print the table number
    int Tischnummer = 0;
    QString Einstellung8;               // "1" = salad coupons on
    Cent BonSumme = 0;                  // total of the sale
    QTime zeit;                         // printed in the foot
    QDate datum;
    bool Kopie = false;                 // a copy: marked above and below the articles
};

// A text as the printer gets it: umlauts in code page 437 (DruckText) or the
// plain Windows-1252 bytes (DruckTextRoh), and every control byte a blank, so
// no stored text can open the drawer, cut the paper or switch a mode.
QByteArray DruckText(const QString &text);
QByteArray DruckTextRoh(const QString &text);

// Einstellung(8) read as a number equals 1; anything that is no number is off.
bool SalatbonEin(const QString &einstellung8);

// H1..H9: logo (when 1..255), centred, LF, four header lines, rule, left.
// The printed reports use the same head.
QList<QByteArray> BonKopf(int bonImageNr, const std::array<QString, 6> &kopfzeile);

// F1..F5: left, rule, time + 24 spaces + date + LF, feed 4, cut.
QList<QByteArray> BonFuss(const QTime &zeit, const QDate &datum);

// "17   TISCHNUMMER 5" or "17", followed by LF LF.
QByteArray Nummernzeile(const BonDruckDaten &daten, qint32 bonId);

// One item line of a whole receipt: "2 x Cola " HT "4,00" " E" LF.
QByteArray Artikelzeile(const BonZeile &zeile);

// The total line: LF "    GESAMT  " HT total " E" LF.
QByteArray Gesamtzeile(Cent bonSumme);

// "*** KOPIE ***" centred on a line of its own; nothing for an original.
QList<QByteArray> KopieMarke(const BonDruckDaten &daten);

// One receipt for the whole sale, starting with ESC D 35 NUL; empty when
// there are no rows.
QList<QByteArray> GesamtBon(const BonDruckDaten &daten, const QList<BonZeile> &zeilen);

// Single-receipt mode, one row: ESC D 35 NUL, head, number line, the item in
// double width, foot; followed by the salad coupon when it is due.
QList<QByteArray> EinzelBon(const BonDruckDaten &daten, const BonZeile &zeile);

// Everything BonDrucken sends while the printer is on, in order: the whole
// receipt, or one single receipt per row. No rows give no writes at all.
QList<QByteArray> BonAusgabe(const BonDruckDaten &daten, const QList<BonZeile> &zeilen);

} // namespace zanti
