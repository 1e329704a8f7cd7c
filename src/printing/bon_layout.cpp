#include "printing/bon_layout.h"

#include "core/text_helfer.h"
#include "printing/escpos.h"

namespace zanti {

namespace {

QByteArray OhneSteuerzeichen(QByteArray bytes)
{
    for (char &b : bytes) {
        if (static_cast<unsigned char>(b) < 0x20 || b == 0x7F)
            b = ' ';
    }
    return bytes;
}

QByteArray Zahl(qint64 n)
{
    return QByteArray::number(n);
}

QByteArray Linie()
{
    return QByteArray(escpos::kZeilenBreite, '_') + escpos::LF();
}

} // namespace

QByteArray DruckText(const QString &text)
{
    return OhneSteuerzeichen(UmlauteWandeln(text));
}

QByteArray DruckTextRoh(const QString &text)
{
    return OhneSteuerzeichen(Cp1252Schreiben(text));
}

bool SalatbonEin(const QString &einstellung8)
{
    const std::optional<Cent> wert = BetragLesen(einstellung8);
    return wert && *wert == 100;
}

QList<QByteArray> BonKopf(int bonImageNr, const std::array<QString, 6> &kopfzeile)
{
    QList<QByteArray> w;
    if (bonImageNr != 0) {
        const QByteArray logo = escpos::Logo(bonImageNr);
        if (!logo.isEmpty())
            w << logo;
    }
    w << escpos::Zentriert() << escpos::LF();
    for (int i = 1; i <= 4; ++i)
        w << DruckText(kopfzeile[i]) + escpos::LF();
    w << Linie() << escpos::Linksbuendig();
    return w;
}

QList<QByteArray> BonFuss(const QTime &zeit, const QDate &datum)
{
    return {escpos::Linksbuendig(), Linie(),
            DruckTextRoh(ZeitText(zeit) + QString(24, u' ') + DatumText(datum)) + escpos::LF(),
            escpos::Vorschub4(), escpos::Schnitt()};
}

QByteArray Nummernzeile(const BonDruckDaten &daten, qint32 bonId)
{
    QByteArray z = Zahl(bonId);
    if (daten.TischnummerAnzeige)
        z += "   TISCHNUMMER " + Zahl(daten.Tischnummer);
    return z + escpos::LF() + escpos::LF();
}

QByteArray Artikelzeile(const BonZeile &zeile)
{
    return DruckTextRoh(zeile.Anzahl) + " x " + DruckText(zeile.Artikel) + " " + escpos::HT()
        + DruckTextRoh(zeile.Preis) + " E" + escpos::LF();
}

QByteArray Gesamtzeile(Cent bonSumme)
{
    return escpos::LF() + "    GESAMT  " + escpos::HT() + DruckTextRoh(BetragFormat(bonSumme)) + " E"
        + escpos::LF();
}

QList<QByteArray> KopieMarke(const BonDruckDaten &daten)
{
    if (!daten.Kopie)
        return {};
    return {escpos::Zentriert(), QByteArray("*** KOPIE ***") + escpos::LF(), escpos::Linksbuendig()};
}

QList<QByteArray> GesamtBon(const BonDruckDaten &daten, const QList<BonZeile> &zeilen)
{
    if (zeilen.isEmpty())
        return {};
    QList<QByteArray> w;
    w << escpos::TabulatorSetzen();
    w << BonKopf(daten.BonImageNr, daten.Kopfzeile);
    w << Nummernzeile(daten, zeilen.first().BonId);
    w << KopieMarke(daten);
    for (const BonZeile &zeile : zeilen)
        w << Artikelzeile(zeile);
    w << KopieMarke(daten);
    w << Gesamtzeile(daten.BonSumme);
    w << BonFuss(daten.zeit, daten.datum);
    return w;
}

QList<QByteArray> EinzelBon(const BonDruckDaten &daten, const BonZeile &zeile)
{
    QList<QByteArray> w;
    w << escpos::TabulatorSetzen();
    w << BonKopf(daten.BonImageNr, daten.Kopfzeile);
    w << Nummernzeile(daten, zeile.BonId);
    w << KopieMarke(daten);
    w << escpos::DoppelteBreite();
    // No space between the quantity and the x on a single receipt.
    w << DruckTextRoh(zeile.Anzahl) + "x " + DruckText(zeile.Artikel) + escpos::LF();
    w << escpos::Rechtsbuendig();
    w << DruckTextRoh(zeile.Preis) + " E" + escpos::LF();
    w << escpos::Linksbuendig() << escpos::NormaleBreite();
    w << KopieMarke(daten);
    if (SalatbonEin(daten.Einstellung8) && zeile.Tastennr == 25) {
        w << BonFuss(daten.zeit, daten.datum);
        w << BonKopf(daten.BonImageNr, daten.Kopfzeile);
        w << Zahl(zeile.BonId) + escpos::LF() + escpos::LF();
        w << KopieMarke(daten);
        w << escpos::DoppelteBreite();
        w << DruckTextRoh(zeile.Anzahl) + " x " + UmlauteWandeln(QStringLiteral("Salatbon zu "))
                + Zahl(zeile.BonId) + escpos::LF();
        w << escpos::NormaleBreite();
        w << KopieMarke(daten);
    }
    w << BonFuss(daten.zeit, daten.datum);
    return w;
}

QList<QByteArray> BonAusgabe(const BonDruckDaten &daten, const QList<BonZeile> &zeilen)
{
    if (!daten.Einzelbon)
        return GesamtBon(daten, zeilen);
    QList<QByteArray> w;
    for (const BonZeile &zeile : zeilen)
        w << EinzelBon(daten, zeile);
    return w;
}

} // namespace zanti
