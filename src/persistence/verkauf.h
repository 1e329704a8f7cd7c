#pragma once
// The two records of what was sold: the protocol journal protokoll.txt
// (newest line first) and the sales counts of verkauf.ini.
#include "core/tasten.h"
#include "core/geld.h"
#include "persistence/ini_datei.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTime>
#include <array>

namespace zanti {

struct BonZeile;

// The bytes of protokoll.txt with every line ending in CR LF. Lines end with
// CR LF, a lone CR or a lone LF; a last line without a line end still counts.
// The same bytes when they already are so.
QByteArray ProtokollZeilenenden(const QByteArray &datei);
// Every CR in text has its LF right after it: no lone CR ends a line.
bool JedesCrVorLf(QByteArrayView text);

// "12 14:05:09  3 x Cola   4,50" + CR LF.
QString ProtokollVerkaufsZeile(qint32 nr, const QTime &zeit, const QString &anzahl,
                               const QString &artikel, Cent betrag);

// "17 14:07:30  2 x Bier   -5,00 Storno" + CR LF, from the voided row.
QString ProtokollStornoZeile(const BonZeile &zeile, const QTime &zeit);

// Section "verkauft", Taste1..Taste36 (36 = takings), in hundredths:
// "3" gives 300, "123,5" gives 12350; anything that is no number gives 0.
Verkaufszahlen VerkaufszahlenLesen(const IniDatei &ini);

// Taste1..Taste36 in the general number format: 3,3  12  0.
void VerkaufszahlenSchreiben(IniDatei &ini, const Verkaufszahlen &verkauft);

} // namespace zanti
