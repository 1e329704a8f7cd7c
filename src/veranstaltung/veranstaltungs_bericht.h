#pragma once
// The event's report (F8 in set-up mode): 40 columns like the sales report,
// for the printer (lines end with LF, umlauts for the printer) and for the
// window Anzeige (CR LF). Pure functions of the figures the server gave.
#include "veranstaltung/veranstaltungs_zahlen.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QStringList>
#include <QTime>

namespace zanti {

constexpr int kBerichtBreite = 40;

// The lines, none wider than kBerichtBreite.
QStringList VeranstaltungsBerichtZeilen(const VeranstaltungsZahlen &zahlen);

QList<QByteArray> VeranstaltungsBerichtDruck(const VeranstaltungsZahlen &zahlen, const QTime &zeit,
                                             const QDate &datum);
QString VeranstaltungsBerichtText(const VeranstaltungsZahlen &zahlen, const QTime &zeit, const QDate &datum);

// What F8 says on a register without the event file.
inline const QString kOhneVeranstaltung =
    QStringLiteral("Diese Kasse arbeitet allein: es gibt keine Veranstaltung (veranstaltung.ini) und keinen Server.");

} // namespace zanti
