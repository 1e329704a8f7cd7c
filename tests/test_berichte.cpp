// Sales report, key list and help text: on paper byte for byte,
// in the window character for character.
#include "printing/berichte.h"

#include "support/testdaten.h"

#include <QTest>
#include <initializer_list>

using namespace zanti;
using namespace zanti::test;

namespace {


const QByteArray LINKS = Bytes({27, 97, 48});
const QByteArray MITTE = Bytes({27, 97, 49});
const QByteArray FEED5 = Bytes({27, 100, 5});
const QByteArray CUT = Bytes({29, 86, 49});
const QByteArray RULE = QByteArray(42, '_') + "\n";
const QString CRLF = QStringLiteral("\r\n");

// Keys 1 to 3 are set, the rest is free; key 2 carries umlauts.
BerichtDaten Daten()
{
    BerichtDaten d;
    d.ArtikelText[1] = QStringLiteral("Cola");
    d.ArtikelPreis[1] = QStringLiteral("2,00");
    d.ArtikelText[2] = QStringLiteral("Würstchen");
    d.ArtikelPreis[2] = QStringLiteral("2,50");
    d.ArtikelText[3] = QStringLiteral("Bier");
    d.ArtikelPreis[3] = QStringLiteral("3,00");
    d.Verkauft[1] = 1200;   // 12 units
    d.Verkauft[2] = 250;    // 2,5 units
    d.Verkauft[36] = 123450;
    d.Kopfzeile = {QString(), QStringLiteral("Fußballverein"), QStringLiteral("Sommerfest"),
                   QString(), QStringLiteral("2026")};
    d.zeit = QTime(18, 30, 5);
    d.datum = QDate(2026, 7, 4);
    return d;
}

QList<QByteArray> Kopf(const QList<QByteArray> &logo = {})
{
    return logo + QList<QByteArray>{MITTE, "\n", QByteArray("Fu") + Bytes({225}) + "ballverein\n",
                                    "Sommerfest\n", "\n", "2026\n", RULE, LINKS};
}

QList<QByteArray> Fuss()
{
    // No line end after the date.
    return {RULE, "18:30:05                        04.07.2026", FEED5, CUT};
}

void Vergleichen(const QList<QByteArray> &ist, const QList<QByteArray> &soll)
{
    for (qsizetype i = 0; i < std::min(ist.size(), soll.size()); ++i) {
        if (ist[i] != soll[i]) {
            QFAIL(qPrintable(QStringLiteral("write %1: got \"%2\", expected \"%3\"")
                                 .arg(i)
                                 .arg(QString::fromLatin1(ist[i].toHex(' ')))
                                 .arg(QString::fromLatin1(soll[i].toHex(' ')))));
        }
    }
    QCOMPARE(ist.size(), soll.size());
}

void TextVergleichen(const QString &ist, const QString &soll)
{
    const QStringList a = ist.split(CRLF);
    const QStringList b = soll.split(CRLF);
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        QCOMPARE(a[i], b[i]);
    QCOMPARE(ist, soll);
}

} // namespace

class TestBerichte : public QObject
{
    Q_OBJECT

private slots:
    void verkaufsbelegGedruckt();
    void verkaufsbelegGedrucktMitLogo_data();
    void verkaufsbelegGedrucktMitLogo();
    void verkaufsbelegImFenster();
    void verkaufsbelegLeerImFenster();
    void tastenbelegungGedruckt();
    void tastenbelegungImFenster();
    void hilfe();
    void steuerzeichenGehenAlsBlank();
};

void TestBerichte::verkaufsbelegGedruckt()
{
    QList<QByteArray> soll = Kopf();
    soll << "\n    V E R K A U F S B E L E G \n\n";
    soll << "    12 x Cola\n";
    soll << QByteArray("    2,5 x W") + Bytes({0x81}) + "rstchen\n";
    soll << "    0 x Bier\n";
    for (int i = 4; i <= 35; ++i)
        soll << "    0 x \n";
    soll << "    1234,50 Euro Gesamteinnahmen\n";
    soll << Fuss();
    Vergleichen(VerkaufsbelegDruck(Daten()), soll);
}

void TestBerichte::verkaufsbelegGedrucktMitLogo_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QByteArray>("erster");
    QTest::newRow("0") << 0 << MITTE;
    QTest::newRow("7") << 7 << Bytes({28, 112, 7, 48});
    QTest::newRow("300") << 300 << MITTE;
}

void TestBerichte::verkaufsbelegGedrucktMitLogo()
{
    QFETCH(int, nummer);
    QFETCH(QByteArray, erster);
    BerichtDaten d = Daten();
    d.BonImageNr = nummer;
    QCOMPARE(VerkaufsbelegDruck(d).first(), erster);
    QCOMPARE(TastenbelegungDruck(d).first(), erster);
}

void TestBerichte::verkaufsbelegImFenster()
{
    QString soll = CRLF + "    V E R K A U F S B E L E G " + CRLF + CRLF;
    soll += "    12 x 2,00    Cola" + CRLF;
    soll += QStringLiteral("    2,5 x 2,50    Würstchen") + CRLF;
    soll += "    0 x 3,00    Bier" + CRLF;
    for (int i = 4; i <= 35; ++i)
        soll += "    0 x     " + CRLF;
    soll += CRLF + "    1234,50 Euro Gesamteinnahmen" + CRLF;
    soll += QString(29, u'_') + CRLF;
    soll += "18:30:05                        04.07.2026";
    TextVergleichen(VerkaufsbelegText(Daten()), soll);
}

void TestBerichte::verkaufsbelegLeerImFenster()
{
    BerichtDaten d;
    for (int i = 1; i <= 35; ++i) {
        d.ArtikelPreis[i] = QStringLiteral("1,00");
        d.ArtikelText[i] = QStringLiteral("Artikel %1").arg(i);
    }
    d.zeit = QTime(0, 0, 0);
    d.datum = QDate(2026, 1, 1);
    const QStringList zeilen = VerkaufsbelegText(d).split(CRLF);
    QCOMPARE(zeilen.size(), 3 + 35 + 4);
    QCOMPARE(zeilen.at(3), QStringLiteral("    0 x 1,00    Artikel 1"));
    QCOMPARE(zeilen.at(37), QStringLiteral("    0 x 1,00    Artikel 35"));
    QCOMPARE(zeilen.at(39), QStringLiteral("    0,00 Euro Gesamteinnahmen"));
}

void TestBerichte::tastenbelegungGedruckt()
{
    // No title line on paper; article before price.
    QList<QByteArray> soll = Kopf();
    soll << "Taste 1  Cola  2,00\n";
    soll << QByteArray("Taste 2  W") + Bytes({0x81}) + "rstchen  2,50\n";
    soll << "Taste 3  Bier  3,00\n";
    for (int i = 4; i <= 35; ++i)
        soll << "Taste " + QByteArray::number(i) + "    \n";
    soll << Fuss();
    Vergleichen(TastenbelegungDruck(Daten()), soll);
}

void TestBerichte::tastenbelegungImFenster()
{
    // Window: title with four blanks, price before article, no conversion.
    QString soll = CRLF + "    T A S T E N B E L E G U N G " + CRLF + CRLF;
    soll += "    Taste 1  2,00  Cola" + CRLF;
    soll += QStringLiteral("    Taste 2  2,50  Würstchen") + CRLF;
    soll += "    Taste 3  3,00  Bier" + CRLF;
    for (int i = 4; i <= 35; ++i)
        soll += "    Taste " + QString::number(i) + "    " + CRLF;
    soll += QString(29, u'_') + CRLF;
    soll += "18:30:05                        04.07.2026";
    TextVergleichen(TastenbelegungText(Daten()), soll);
}

void TestBerichte::hilfe()
{
    const QString soll = QStringLiteral(
        "\r\n T A S T E N B E L E G U N G \r\n\r\n"
        " F1  = Tastenbelegung anzeigen\r\n\r\n"
        " F2  = Drucker ein-/ausschalten\r\n\r\n"
        " F3  = Einzelbon ein-/ausschalten * \r\n\r\n"
        " F4  = Tischnummer ein-/ausschalten * \r\n\r\n"
        " F5  = Protokoll löschen! * \r\n\r\n"
        " F6  = Verkaufszahlen löschen! * \r\n\r\n"
        " F7  = Bonkopfeinstellungen! * \r\n\r\n"
        " F10 = Verkaufszahlen drucken oder anzeigen! * Abhängig von F2\r\n\r\n"
        " F11 = Tastenbelegung drucken oder anzeigen! * Abhängig von F2\r\n\r\n"
        " F12 = (*) Einstellmodus ein-/ausschalten\r\n");
    TextVergleichen(HilfeText(), soll);
}

void TestBerichte::steuerzeichenGehenAlsBlank()
{
    BerichtDaten d = Daten();
    d.ArtikelText[1] = QStringLiteral("Cola") + QChar(0x1B) + QStringLiteral("p");
    d.ArtikelPreis[1] = QStringLiteral("2,00") + QChar(0x1D) + QStringLiteral("V");
    QCOMPARE(VerkaufsbelegDruck(d).at(9), QByteArray("    12 x Cola p\n"));
    QCOMPARE(TastenbelegungDruck(d).at(8), QByteArray("Taste 1  Cola p  2,00 V\n"));
}

QTEST_GUILESS_MAIN(TestBerichte)
#include "test_berichte.moc"
