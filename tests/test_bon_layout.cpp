// Receipt layouts, byte for byte. Expected bytes are written out
// here as numbers and text, independent of the command table of the program.
#include "printing/bon_layout.h"

#include "support/testdaten.h"

#include <QTest>
#include <initializer_list>

using namespace zanti;
using namespace zanti::test;

namespace {


const QByteArray TAB35 = Bytes({27, 68, 35, 0});
const QByteArray LINKS = Bytes({27, 97, 48});
const QByteArray MITTE = Bytes({27, 97, 49});
const QByteArray RECHTS = Bytes({27, 97, 50});
const QByteArray BREIT = Bytes({29, 33, 16});
const QByteArray NORMAL = Bytes({29, 33, 0});
const QByteArray FEED4 = Bytes({27, 100, 4});
const QByteArray CUT = Bytes({29, 86, 49});
const QByteArray RULE = QByteArray(42, '_') + "\n";
const QByteArray ZEIT = "14:05:09                        07.12.2026\n";

BonDruckDaten Daten()
{
    BonDruckDaten d;
    d.Kopfzeile = {QString(), QStringLiteral("Sportverein"), QStringLiteral("Sommerfest"),
                   QString(), QStringLiteral("Danke")};
    d.zeit = QTime(14, 5, 9);
    d.datum = QDate(2026, 12, 7);
    d.Einstellung8 = QStringLiteral("0");
    return d;
}


QList<QByteArray> Kopf(const QList<QByteArray> &logo = {})
{
    return logo + QList<QByteArray>{MITTE, "\n", "Sportverein\n", "Sommerfest\n", "\n", "Danke\n",
                                    RULE, LINKS};
}

QList<QByteArray> Fuss()
{
    return {LINKS, RULE, ZEIT, FEED4, CUT};
}

// Readable failure output: which write differs.
void Vergleichen(const QList<QByteArray> &ist, const QList<QByteArray> &soll)
{
    for (qsizetype i = 0; i < std::min(ist.size(), soll.size()); ++i) {
        if (ist[i] != soll[i]) {
            QFAIL(qPrintable(QStringLiteral("write %1: got %2, expected %3")
                                 .arg(i)
                                 .arg(QString::fromLatin1(ist[i].toHex(' ')))
                                 .arg(QString::fromLatin1(soll[i].toHex(' ')))));
        }
    }
    QCOMPARE(ist.size(), soll.size());
}

} // namespace

class TestBonLayout : public QObject
{
    Q_OBJECT

private slots:
    void ganzerBonMitTischnummer();
    void ganzerBonMitLogoOhneTischnummer();
    void einzelbonsJeZeile();
    void salatbon();
    void salatbonMitLogoNachDemSchnitt();
    void keinSalatbon_data();
    void keinSalatbon();
    void salatbonSchalter_data();
    void salatbonSchalter();
    void umlauteInKopfUndArtikel();
    void steuerzeichenGehenAlsBlank();
    void summe_data();
    void summe();
    void leererBonSendetNichts();
    void logoNummer_data();
    void logoNummer();
    void fussMitDeutschemFormat();
    void kopieIstMarkiert();
};

void TestBonLayout::ganzerBonMitTischnummer()
{
    BonDruckDaten d = Daten();
    d.TischnummerAnzeige = true;
    d.Tischnummer = 5;
    d.BonSumme = 650;
    const QList<BonZeile> zeilen = {Zeile("2", "Cola", "4,00", 1, 17),
                                    Zeile("1", "Bratwurst", "2,50", 2, 18)};
    QList<QByteArray> soll{TAB35};
    soll << Kopf();
    soll << "17   TISCHNUMMER 5\n\n";
    soll << "2 x Cola \t4,00 E\n" << "1 x Bratwurst \t2,50 E\n";
    soll << "\n    GESAMT  \t6,50 E\n";
    soll << Fuss();
    Vergleichen(BonAusgabe(d, zeilen), soll);
}

void TestBonLayout::ganzerBonMitLogoOhneTischnummer()
{
    BonDruckDaten d = Daten();
    d.BonImageNr = 3;
    d.TischnummerAnzeige = false;
    d.Tischnummer = 5;
    d.BonSumme = 150;
    QList<QByteArray> soll{TAB35};
    soll << Kopf({Bytes({28, 112, 3, 48})});
    soll << "17\n\n" << "1 x Wasser \t1,50 E\n" << "\n    GESAMT  \t1,50 E\n";
    soll << Fuss();
    Vergleichen(BonAusgabe(d, {Zeile("1", "Wasser", "1,50", 4, 17)}), soll);
}

void TestBonLayout::einzelbonsJeZeile()
{
    BonDruckDaten d = Daten();
    d.Einzelbon = true;
    d.TischnummerAnzeige = true;
    d.Tischnummer = 12;
    d.BonSumme = 900;
    const QList<BonZeile> zeilen = {Zeile("2", "Cola", "4,00", 1, 20),
                                    Zeile("1", "Bier", "3,00", 2, 21),
                                    Zeile("10", "Brezel", "2,00", 3, 22)};
    QList<QByteArray> soll;
    const QList<QByteArray> artikel = {"2x Cola\n", "1x Bier\n", "10x Brezel\n"};
    const QList<QByteArray> preise = {"4,00 E\n", "3,00 E\n", "2,00 E\n"};
    for (int i = 0; i < 3; ++i) {
        soll << TAB35 << Kopf();
        soll << "2" + QByteArray::number(i) + "   TISCHNUMMER 12\n\n";
        soll << BREIT << artikel[i] << RECHTS << preise[i] << LINKS << NORMAL;
        soll << Fuss();
    }
    Vergleichen(BonAusgabe(d, zeilen), soll);
    // No total line in single-receipt mode.
    for (const QByteArray &w : BonAusgabe(d, zeilen))
        QVERIFY(!w.contains("GESAMT"));
}

void TestBonLayout::salatbon()
{
    BonDruckDaten d = Daten();
    d.Einzelbon = true;
    d.Einstellung8 = QStringLiteral("1");
    d.TischnummerAnzeige = true;
    d.Tischnummer = 3;
    QList<QByteArray> soll{TAB35};
    soll << Kopf() << "31   TISCHNUMMER 3\n\n";
    soll << BREIT << "2x Salatteller\n" << RECHTS << "9,00 E\n" << LINKS << NORMAL;
    soll << Fuss();
    // The coupon: own head, no table number, double-width text.
    soll << Kopf() << "31\n\n" << BREIT << "2 x Salatbon zu 31\n" << NORMAL;
    soll << Fuss();
    Vergleichen(BonAusgabe(d, {Zeile("2", "Salatteller", "9,00", 25, 31)}), soll);
}

void TestBonLayout::salatbonMitLogoNachDemSchnitt()
{
    BonDruckDaten d = Daten();
    d.Einzelbon = true;
    d.Einstellung8 = QStringLiteral("1");
    d.BonImageNr = 3;
    const QList<QByteArray> w = BonAusgabe(d, {Zeile("1", "Salat", "4,50", 25, 8)});
    const QByteArray logo = Bytes({28, 112, 3, 48});
    QCOMPARE(w.count(logo), 2);
    QCOMPARE(w.count(TAB35), 1);
    QCOMPARE(w.count(CUT), 2);
    QCOMPARE(w.at(1), logo);
    const qsizetype ersterSchnitt = w.indexOf(CUT);
    QCOMPARE(w.at(ersterSchnitt + 1), logo);
}

void TestBonLayout::keinSalatbon_data()
{
    QTest::addColumn<int>("einzelbon");
    QTest::addColumn<QString>("einstellung8");
    QTest::addColumn<int>("taste");
    QTest::newRow("whole receipt, coupons on") << 0 << "1" << 25;
    QTest::newRow("coupons off") << 1 << "0" << 25;
    QTest::newRow("setting missing") << 1 << "Unbekannt" << 25;
    QTest::newRow("setting empty") << 1 << "" << 25;
    QTest::newRow("setting 2") << 1 << "2" << 25;
    QTest::newRow("other key") << 1 << "1" << 24;
}

void TestBonLayout::keinSalatbon()
{
    QFETCH(int, einzelbon);
    QFETCH(QString, einstellung8);
    QFETCH(int, taste);
    BonDruckDaten d = Daten();
    d.Einzelbon = einzelbon == 1;
    d.Einstellung8 = einstellung8;
    d.BonSumme = 450;
    const QList<QByteArray> w = BonAusgabe(d, {Zeile("1", "Salat", "4,50", taste, 8)});
    QCOMPARE(w.count(CUT), 1);
    for (const QByteArray &s : w)
        QVERIFY(!s.contains("Salatbon"));
}

void TestBonLayout::salatbonSchalter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ein");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("blanks") << " 1 " << true;
    QTest::newRow("1,0") << "1,0" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("1,5") << "1,5" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("Unbekannt") << "Unbekannt" << false;
    QTest::newRow("empty") << "" << false;
}

void TestBonLayout::salatbonSchalter()
{
    QFETCH(QString, text);
    QFETCH(bool, ein);
    QCOMPARE(SalatbonEin(text), ein);
}

void TestBonLayout::umlauteInKopfUndArtikel()
{
    BonDruckDaten d = Daten();
    d.Kopfzeile[1] = QStringLiteral("Grüße vom Fest");
    d.Kopfzeile[2] = QStringLiteral("ÄÖÜäöüß");
    d.BonSumme = 250;
    const QList<QByteArray> w =
        BonAusgabe(d, {Zeile("1", QStringLiteral("Würstchen"), "2,50", 1, 9)});
    QCOMPARE(w.at(3), QByteArray("Gr") + Bytes({0x81, 0xE1}) + "e vom Fest\n");
    QCOMPARE(w.at(4), Bytes({142, 153, 154, 132, 148, 129, 225, 10}));
    QCOMPARE(w.at(10), QByteArray("1 x W") + Bytes({0x81}) + "rstchen \t2,50 E\n");

    // Single receipt and coupon convert the article too.
    d.Einzelbon = true;
    d.Einstellung8 = QStringLiteral("1");
    const QList<QByteArray> e =
        BonAusgabe(d, {Zeile("1", QStringLiteral("Käsesalat"), "3,00", 25, 9)});
    QVERIFY(e.contains(QByteArray("1x K") + Bytes({132}) + "sesalat\n"));
}

void TestBonLayout::steuerzeichenGehenAlsBlank()
{
    // ESC p opens the drawer, GS V cuts: from a stored text they are blanks.
    BonDruckDaten d = Daten();
    d.Kopfzeile[1] = u"Fest"_qs + QChar(0x1B) + u"p"_qs + QChar(0) + QChar(0x7F);
    const QString artikel = u"Bier"_qs + QChar(0x1D) + u"V1\tü"_qs;
    d.BonSumme = 250;
    const QList<QByteArray> w = BonAusgabe(d, {Zeile("1", artikel, "2,50", 1, 9)});
    QCOMPARE(w.at(3), QByteArray("Fest p  \n"));
    QCOMPARE(w.at(10), QByteArray("1 x Bier V1 \x81 \t2,50 E\n"));

    d.Einzelbon = true;
    QVERIFY(BonAusgabe(d, {Zeile("1", artikel, "2,50", 1, 9)}).contains("1x Bier V1 \x81\n"));
}

void TestBonLayout::summe_data()
{
    QTest::addColumn<qint64>("cent");
    QTest::addColumn<QByteArray>("zeile");
    QTest::newRow("0,50") << qint64(50) << QByteArray("\n    GESAMT  \t0,50 E\n");
    QTest::newRow("1234,50") << qint64(123450) << QByteArray("\n    GESAMT  \t1234,50 E\n");
    QTest::newRow("0,00") << qint64(0) << QByteArray("\n    GESAMT  \t0,00 E\n");
    QTest::newRow("negative") << qint64(-205) << QByteArray("\n    GESAMT  \t-2,05 E\n");
}

void TestBonLayout::summe()
{
    QFETCH(qint64, cent);
    QFETCH(QByteArray, zeile);
    BonDruckDaten d = Daten();
    d.BonSumme = cent;
    const QList<QByteArray> w = BonAusgabe(d, {Zeile("1", "Cola", "2,00", 1, 1)});
    QCOMPARE(w.at(w.size() - 6), zeile);
}

void TestBonLayout::leererBonSendetNichts()
{
    BonDruckDaten d = Daten();
    QVERIFY(BonAusgabe(d, {}).isEmpty());
    d.Einzelbon = true;
    QVERIFY(BonAusgabe(d, {}).isEmpty());
    d.BonImageNr = 3;
    QVERIFY(BonAusgabe(d, {}).isEmpty());
}

void TestBonLayout::logoNummer_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QByteArray>("erster");
    QTest::newRow("0: no logo") << 0 << MITTE;
    QTest::newRow("3") << 3 << Bytes({28, 112, 3, 48});
    QTest::newRow("255") << 255 << Bytes({28, 112, 255, 48});
    QTest::newRow("300: no logo") << 300 << MITTE;
    QTest::newRow("256: no logo") << 256 << MITTE;
    QTest::newRow("-1: no logo") << -1 << MITTE;
}

void TestBonLayout::logoNummer()
{
    QFETCH(int, nummer);
    QFETCH(QByteArray, erster);
    BonDruckDaten d = Daten();
    d.BonImageNr = nummer;
    const QList<QByteArray> w = BonAusgabe(d, {Zeile("1", "Cola", "2,00", 1, 1)});
    QCOMPARE(w.at(0), TAB35);
    QCOMPARE(w.at(1), erster);
    QCOMPARE(w.at(erster == MITTE ? 2 : 3), QByteArray("\n"));
}

void TestBonLayout::fussMitDeutschemFormat()
{
    QCOMPARE(BonFuss(QTime(9, 3, 0), QDate(2027, 1, 2)).at(2),
             QByteArray("09:03:00                        02.01.2027\n"));
    QCOMPARE(ZeitText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
    QCOMPARE(DatumText(QDate(2026, 12, 7)), QStringLiteral("07.12.2026"));
}

// A copy carries its mark above and below the articles, on a whole receipt,
// on a single receipt and on the coupon alike; nothing else changes.
void TestBonLayout::kopieIstMarkiert()
{
    const QList<QByteArray> marke{MITTE, "*** KOPIE ***\n", LINKS};
    BonDruckDaten d = Daten();
    d.BonSumme = 650;
    d.Kopie = true;
    const QList<BonZeile> zeilen = {Zeile("2", "Cola", "4,00", 1, 17), Zeile("1", "Bratwurst", "2,50", 2, 18)};
    QList<QByteArray> soll{TAB35};
    soll << Kopf() << "17\n\n" << marke;
    soll << "2 x Cola \t4,00 E\n" << "1 x Bratwurst \t2,50 E\n" << marke;
    soll << "\n    GESAMT  \t6,50 E\n" << Fuss();
    Vergleichen(BonAusgabe(d, zeilen), soll);

    d.Einzelbon = 1;
    d.Einstellung8 = QStringLiteral("1");
    soll = {TAB35};
    soll << Kopf() << "31\n\n" << marke;
    soll << BREIT << "2x Salatteller\n" << RECHTS << "9,00 E\n" << LINKS << NORMAL << marke << Fuss();
    soll << Kopf() << "31\n\n" << marke << BREIT << "2 x Salatbon zu 31\n" << NORMAL << marke << Fuss();
    Vergleichen(BonAusgabe(d, {Zeile("2", "Salatteller", "9,00", 25, 31)}), soll);
}

QTEST_GUILESS_MAIN(TestBonLayout)
#include "test_bon_layout.moc"
