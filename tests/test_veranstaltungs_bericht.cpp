// The event's report in 40 columns: the lines as printed and shown, long
// names giving way to the amounts, and the printer's bytes.
#include "veranstaltung/veranstaltungs_bericht.h"

#include <QTest>

using namespace zanti;

namespace {

VeranstaltungsZahlen Beispiel()
{
    VeranstaltungsZahlen z;
    z.name = u"Sommerfest 2027"_qs;
    // 18:42 local at UTC+2 on the night before the clocks go back.
    z.kassen = {{u"Getränke"_qs, u"a"_qs, 120, 123450, 3, 1050, Zeitpunkt{1824914520000, 7200}, true},
                {u"Ein sehr langer Name"_qs, u"b"_qs, 1, 99999999, 0, 0, std::nullopt, false}};
    z.artikel = {{u"Bier"_qs, 200, 70000}, {u"Würstchen mit Senf und Brot und noch mehr"_qs, 12, 3000}};
    z.belege = 121;
    z.umsatzCent = 100123449;
    z.stornos = 3;
    z.stornoCent = 1050;
    return z;
}

} // namespace

class TestVeranstaltungsBericht : public QObject
{
    Q_OBJECT

private slots:
    void zeilen()
    {
        // Columns:    1234567890123456789012345678901234567890
        const QStringList erwartet{
            u"  V E R A N S T A L T U N G"_qs,
            u"Sommerfest 2027"_qs,
            QString(),
            u"Kassen"_qs,
            u"Getränke                    1234,50 Euro"_qs,
            u"  120 Bons, 3 Stornos             -10,50"_qs,
            u"  letzter Bon 30.10. 18:42      alles da"_qs,
            u"Ein sehr langer Name      999999,99 Euro"_qs,
            u"  1 Bon, 0 Stornos"_qs,
            u"  noch kein Bon              sendet noch"_qs,
            QString(40, u'-'),
            u"Artikel aller Kassen"_qs,
            u"200 x Bier                        700,00"_qs,
            u"12 x Würstchen mit Senf und Brot u 30,00"_qs,
            QString(40, u'-'),
            u"Gesamt 121 Bons          1001234,49 Euro"_qs,
            u"3 Stornos                     10,50 Euro"_qs,
        };
        const QStringList zeilen = VeranstaltungsBerichtZeilen(Beispiel());
        for (const QString &zeile : zeilen)
            QVERIFY2(zeile.size() <= kBerichtBreite, qPrintable(zeile));
        QCOMPARE(zeilen.size(), erwartet.size());
        for (int i = 0; i < zeilen.size(); ++i)
            QCOMPARE(zeilen[i], erwartet[i]);
    }

    void druck()
    {
        const QList<QByteArray> w = VeranstaltungsBerichtDruck(Beispiel(), QTime(18, 45, 0), QDate(2027, 10, 31));
        QCOMPARE(w.first(), QByteArray("\x1b\x61\x30"));
        // Umlauts as the printer's code page has them, LF at each line's end.
        QCOMPARE(w[5], QByteArray("Getr\x84nke                    1234,50 Euro\n"));
        QCOMPARE(w.last(), QByteArray("\x1d\x56\x31"));
        const QString text = VeranstaltungsBerichtText(Beispiel(), QTime(18, 45, 0), QDate(2027, 10, 31));
        QVERIFY(text.contains(u"Getränke                    1234,50 Euro\r\n"_qs));
        QVERIFY(text.endsWith(u"18:45:00                        31.10.2027"_qs));
    }
};

QTEST_GUILESS_MAIN(TestVeranstaltungsBericht)
#include "test_veranstaltungs_bericht.moc"
