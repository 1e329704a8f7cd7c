#include "veranstaltung/veranstaltungs_bericht.h"

#include "core/text_helfer.h"
#include "printing/berichte.h"
#include "printing/bon_layout.h"
#include "printing/escpos.h"

namespace zanti {

namespace {

// Left text and right text on one line; the left one gives way.
QString Zeile(const QString &links, const QString &rechts)
{
    if (rechts.isEmpty())
        return links.left(kBerichtBreite);
    const int platz = kBerichtBreite - int(rechts.size()) - 1;
    const QString l = links.left(std::max(platz, 0));
    return (l + QString(std::max<qsizetype>(kBerichtBreite - l.size() - rechts.size(), 1), u' ') + rechts)
        .left(kBerichtBreite);
}

QString Euro(Cent betrag)
{
    return BetragFormat(betrag) + QStringLiteral(" Euro");
}

QString Anzahl(qint64 n, const QString &eins, const QString &mehr)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? eins : mehr);
}

} // namespace

QStringList VeranstaltungsBerichtZeilen(const VeranstaltungsZahlen &z)
{
    const QString linie(kBerichtBreite, u'-');
    QStringList zeilen{QStringLiteral("  V E R A N S T A L T U N G"), z.name.left(kBerichtBreite), QString(),
                       QStringLiteral("Kassen")};
    for (const VeranstaltungsKasse &k : z.kassen) {
        zeilen << Zeile(k.kasse, Euro(k.umsatzCent));
        zeilen << Zeile(QStringLiteral("  ") + Anzahl(k.belege, QStringLiteral("Bon"), QStringLiteral("Bons")) + QStringLiteral(", ")
                            + Anzahl(k.stornos, QStringLiteral("Storno"), QStringLiteral("Stornos")),
                        k.stornos ? QStringLiteral("-") + BetragFormat(k.stornoCent) : QString());
        const QString letzter = k.letzterBeleg
            ? QStringLiteral("  letzter Bon ") + k.letzterBeleg->lokal().toString(QStringLiteral("dd.MM. hh:mm"))
            : QStringLiteral("  noch kein Bon");
        zeilen << Zeile(letzter, k.allesGesendet ? QStringLiteral("alles da") : QStringLiteral("sendet noch"));
    }
    zeilen << linie << QStringLiteral("Artikel aller Kassen");
    for (const VeranstaltungsArtikel &a : z.artikel)
        zeilen << Zeile(QStringLiteral("%1 x %2").arg(a.anzahl).arg(a.artikel), BetragFormat(a.betragCent));
    zeilen << linie;
    zeilen << Zeile(QStringLiteral("Gesamt ") + Anzahl(z.belege, QStringLiteral("Bon"), QStringLiteral("Bons")),
                    Euro(z.umsatzCent));
    zeilen << Zeile(Anzahl(z.stornos, QStringLiteral("Storno"), QStringLiteral("Stornos")), Euro(z.stornoCent));
    return zeilen;
}

QList<QByteArray> VeranstaltungsBerichtDruck(const VeranstaltungsZahlen &zahlen, const QTime &zeit,
                                             const QDate &datum)
{
    QList<QByteArray> w{escpos::Linksbuendig()};
    for (const QString &zeile : VeranstaltungsBerichtZeilen(zahlen))
        w << DruckText(zeile) + escpos::LF();
    w << BerichtFuss(zeit, datum);
    return w;
}

QString VeranstaltungsBerichtText(const VeranstaltungsZahlen &zahlen, const QTime &zeit, const QDate &datum)
{
    const QString crlf = QStringLiteral("\r\n");
    return VeranstaltungsBerichtZeilen(zahlen).join(crlf) + crlf + QString(kBerichtBreite, u'_') + crlf
        + ZeitText(zeit) + QString(24, u' ') + DatumText(datum);
}

} // namespace zanti
