#include "printing/berichte.h"

#include "core/text_helfer.h"
#include "printing/bon_layout.h"
#include "printing/escpos.h"

namespace zanti {

namespace {

const QString kCrLf = QStringLiteral("\r\n");


QString Zeitstempel(const BerichtDaten &daten)
{
    return ZeitText(daten.zeit) + QString(24, u' ') + DatumText(daten.datum);
}

// The window's closing rule is shorter than the paper's.
QString FensterFuss(const BerichtDaten &daten)
{
    return QString(29, u'_') + kCrLf + Zeitstempel(daten);
}

} // namespace

QList<QByteArray> BerichtFuss(const QTime &zeit, const QDate &datum)
{
    return {QByteArray(escpos::kZeilenBreite, '_') + escpos::LF(),
            Cp1252Schreiben(ZeitText(zeit) + QString(24, u' ') + DatumText(datum)),
            escpos::Vorschub5(), escpos::Schnitt()};
}

QList<QByteArray> VerkaufsbelegDruck(const BerichtDaten &daten)
{
    QList<QByteArray> w = BonKopf(daten.BonImageNr, daten.Kopfzeile);
    w << escpos::LF() + "    V E R K A U F S B E L E G " + escpos::LF() + escpos::LF();
    for (int i = 1; i <= kArtikelTasten; ++i) {
        w << "    " + Cp1252Schreiben(ZahlAllgemein(daten.Verkauft[i])) + " x "
                + DruckText(daten.ArtikelText[i]) + escpos::LF();
    }
    w << "    " + Cp1252Schreiben(BetragFormat(daten.Verkauft[kEinnahmen])) + " Euro Gesamteinnahmen"
            + escpos::LF();
    w << BerichtFuss(daten.zeit, daten.datum);
    return w;
}

QString VerkaufsbelegText(const BerichtDaten &daten)
{
    QString t = kCrLf + QStringLiteral("    V E R K A U F S B E L E G ") + kCrLf + kCrLf;
    for (int i = 1; i <= kArtikelTasten; ++i) {
        t += QStringLiteral("    ") + ZahlAllgemein(daten.Verkauft[i]) + QStringLiteral(" x ")
            + daten.ArtikelPreis[i] + QStringLiteral("    ") + daten.ArtikelText[i] + kCrLf;
    }
    t += kCrLf + QStringLiteral("    ") + BetragFormat(daten.Verkauft[kEinnahmen])
        + QStringLiteral(" Euro Gesamteinnahmen") + kCrLf;
    return t + FensterFuss(daten);
}

QList<QByteArray> TastenbelegungDruck(const BerichtDaten &daten)
{
    QList<QByteArray> w = BonKopf(daten.BonImageNr, daten.Kopfzeile);
    for (int i = 1; i <= kArtikelTasten; ++i) {
        w << "Taste " + QByteArray::number(i) + "  " + DruckText(daten.ArtikelText[i]) + "  "
                + DruckTextRoh(daten.ArtikelPreis[i]) + escpos::LF();
    }
    w << BerichtFuss(daten.zeit, daten.datum);
    return w;
}

QString TastenbelegungText(const BerichtDaten &daten)
{
    QString t = kCrLf + QStringLiteral("    T A S T E N B E L E G U N G ") + kCrLf + kCrLf;
    for (int i = 1; i <= kArtikelTasten; ++i) {
        t += QStringLiteral("    Taste ") + QString::number(i) + QStringLiteral("  ")
            + daten.ArtikelPreis[i] + QStringLiteral("  ") + daten.ArtikelText[i] + kCrLf;
    }
    return t + FensterFuss(daten);
}

QString HilfeText()
{
    static const char16_t *const zeilen[] = {
        u" F1  = Tastenbelegung anzeigen",
        u" F2  = Drucker ein-/ausschalten",
        u" F3  = Einzelbon ein-/ausschalten * ",
        u" F4  = Tischnummer ein-/ausschalten * ",
        u" F5  = Protokoll löschen! * ",
        u" F6  = Verkaufszahlen löschen! * ",
        u" F7  = Bonkopfeinstellungen! * ",
        u" F10 = Verkaufszahlen drucken oder anzeigen! * Abhängig von F2",
        u" F11 = Tastenbelegung drucken oder anzeigen! * Abhängig von F2",
        u" F12 = (*) Einstellmodus ein-/ausschalten",
    };
    QString t = kCrLf + QStringLiteral(" T A S T E N B E L E G U N G ") + kCrLf + kCrLf;
    const int anzahl = int(std::size(zeilen));
    for (int i = 0; i < anzahl; ++i)
        t += QString::fromUtf16(zeilen[i]) + (i + 1 < anzahl ? kCrLf + kCrLf : kCrLf);
    return t;
}

} // namespace zanti
