// Money, numbers and code pages: the helpers every amount and every file
// byte of the register passes through.
#include "core/geld.h"
#include "core/text_helfer.h"

#include <QTest>
#include <limits>

using namespace zanti;

Q_DECLARE_METATYPE(std::optional<zanti::Cent>)
Q_DECLARE_METATYPE(std::optional<int>)

class TestGeldText : public QObject
{
    Q_OBJECT

private slots:
    void betragLesen_data();
    void betragLesen();
    void betragFormat_data();
    void betragFormat();
    void zahlAllgemein_data();
    void zahlAllgemein();
    void ganzzahlLesen_data();
    void ganzzahlLesen();
    void summeBleibtCentgenau();
    void zeilenBetrag_data();
    void zeilenBetrag();
    void summeAddieren();
    void umlauteWandeln_data();
    void umlauteWandeln();
    void cp1252AlleBytesUeberstehen();
    void cp1252Schreiben_data();
    void cp1252Schreiben();
    void iniTextBereinigen_data();
    void iniTextBereinigen();
};

void TestGeldText::betragLesen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<Cent>>("erwartet");
    using O = std::optional<Cent>;

    QTest::newRow("ganze Zahl") << "3" << O(300);
    QTest::newRow("Komma eine Stelle") << "2,5" << O(250);
    QTest::newRow("Komma zwei Stellen") << "2,50" << O(250);
    QTest::newRow("Punkt heisst Komma") << "2.5" << O(250);
    QTest::newRow("Punkt zwei Stellen") << "12.05" << O(1205);
    QTest::newRow("Tausenderpunkt mit Komma") << "1.234,50" << O(123450);
    QTest::newRow("Blanks aussen") << "  3 " << O(300);
    QTest::newRow("negativ") << "-1,5" << O(-150);
    QTest::newRow("Pluszeichen") << "+4" << O(400);
    QTest::newRow("nur Nachkomma") << ",5" << O(50);
    QTest::newRow("Komma am Ende") << "7," << O(700);
    QTest::newRow("Null") << "0" << O(0);
    QTest::newRow("fuehrende Nullen") << "007,10" << O(710);
    QTest::newRow("dritte Stelle unter halb") << "0,004" << O(0);
    QTest::newRow("dritte Stelle halb rundet auf") << "0,005" << O(1);
    QTest::newRow("negativ halb rundet weg von null") << "-0,005" << O(-1);
    QTest::newRow("Gleitkommarest") << "3,29999995" << O(330);
    QTest::newRow("Hoechstbetrag") << "1000000000" << O(kHoechstbetrag);
    QTest::newRow("negativer Hoechstbetrag") << "-1.000.000.000,00" << O(-kHoechstbetrag);

    QTest::newRow("schlecht: leer") << "" << O();
    QTest::newRow("schlecht: nur Blanks") << "   " << O();
    QTest::newRow("schlecht: Unbekannt") << "Unbekannt" << O();
    QTest::newRow("schlecht: zwei Kommas") << "1,2,3" << O();
    QTest::newRow("schlecht: zwei Punkte") << "1.2.3" << O();
    QTest::newRow("schlecht: nur Komma") << "," << O();
    QTest::newRow("schlecht: nur Minus") << "-" << O();
    QTest::newRow("schlecht: zwei Vorzeichen") << "--5" << O();
    QTest::newRow("schlecht: Buchstabe hinten") << "5a" << O();
    QTest::newRow("schlecht: Euro angehaengt") << "5,00 €" << O();
    QTest::newRow("schlecht: Blank innen") << "1 234" << O();
    QTest::newRow("schlecht: arabisch-indische Ziffer") << QString(QChar(0x0663)) << O();
    QTest::newRow("schlecht: ueber dem Hoechstbetrag") << "1000000000,01" << O();
    QTest::newRow("schlecht: fuenfzehn Stellen") << "999999999999999" << O();
    QTest::newRow("schlecht: sechzehn Stellen") << "1000000000000000" << O();
}

void TestGeldText::betragLesen()
{
    QFETCH(QString, text);
    QFETCH(std::optional<Cent>, erwartet);
    QCOMPARE(BetragLesen(text), erwartet);
}

void TestGeldText::betragFormat_data()
{
    QTest::addColumn<Cent>("betrag");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("null") << Cent(0) << "0,00";
    QTest::newRow("ein Cent") << Cent(1) << "0,01";
    QTest::newRow("halber Euro") << Cent(50) << "0,50";
    QTest::newRow("ohne Tausenderpunkt") << Cent(123450) << "1234,50";
    QTest::newRow("negativ") << Cent(-500) << "-5,00";
    QTest::newRow("negativ unter einem Euro") << Cent(-5) << "-0,05";
    QTest::newRow("gross") << Cent(99999999999999900) << "999999999999999,00";
}

void TestGeldText::betragFormat()
{
    QFETCH(Cent, betrag);
    QFETCH(QString, erwartet);
    QCOMPARE(BetragFormat(betrag), erwartet);
}

void TestGeldText::zahlAllgemein_data()
{
    QTest::addColumn<Cent>("hundertstel");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("null") << Cent(0) << "0";
    QTest::newRow("ganz") << Cent(1200) << "12";
    QTest::newRow("ganz mit Null am Ende") << Cent(1000) << "10";
    QTest::newRow("hundert") << Cent(10000) << "100";
    QTest::newRow("eine Nachkommastelle") << Cent(250) << "2,5";
    QTest::newRow("zwei Nachkommastellen") << Cent(205) << "2,05";
    QTest::newRow("nur Hundertstel") << Cent(1) << "0,01";
    QTest::newRow("negativ") << Cent(-150) << "-1,5";
    QTest::newRow("Einnahmen") << Cent(12350) << "123,5";
}

void TestGeldText::zahlAllgemein()
{
    QFETCH(Cent, hundertstel);
    QFETCH(QString, erwartet);
    QCOMPARE(ZahlAllgemein(hundertstel), erwartet);
    // Whatever is written reads back as the same amount.
    QCOMPARE(BetragLesen(ZahlAllgemein(hundertstel)), std::optional<Cent>(hundertstel));
}

void TestGeldText::ganzzahlLesen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("erwartet");
    using O = std::optional<int>;

    QTest::newRow("eins") << "1" << O(1);
    QTest::newRow("Blanks") << " 3 " << O(3);
    QTest::newRow("null") << "0" << O(0);
    QTest::newRow("negativ") << "-7" << O(-7);
    QTest::newRow("halb zur geraden ab") << "2,5" << O(2);
    QTest::newRow("halb zur geraden auf") << "3,5" << O(4);
    QTest::newRow("null Komma fuenf") << "0,5" << O(0);
    QTest::newRow("negativ halb zur geraden") << "-2,5" << O(-2);
    QTest::newRow("negativ halb zur geraden weg") << "-3,5" << O(-4);
    QTest::newRow("knapp ueber halb") << "2,501" << O(3);
    QTest::newRow("knapp unter halb") << "3,495" << O(3);
    QTest::newRow("weit ueber halb") << "2,7" << O(3);
    QTest::newRow("negativ knapp ueber halb") << "-2,501" << O(-3);
    QTest::newRow("Punkt als Komma") << "1.5" << O(2);
    QTest::newRow("groesste") << "32767" << O(32767);
    QTest::newRow("kleinste") << "-32768" << O(-32768);
    QTest::newRow("groesste mit Rest unter halb") << "32767,49" << O(32767);

    QTest::newRow("schlecht: leer") << "" << O();
    QTest::newRow("schlecht: Unbekannt") << "Unbekannt" << O();
    QTest::newRow("schlecht: Buchstaben") << "12a" << O();
    QTest::newRow("schlecht: zu gross") << "32768" << O();
    QTest::newRow("schlecht: zu klein") << "-32769" << O();
    QTest::newRow("schlecht: rundet ueber die Grenze") << "32767,5" << O();
    QTest::newRow("schlecht: riesig") << "99999999999999999999" << O();
}

void TestGeldText::ganzzahlLesen()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, erwartet);
    QCOMPARE(GanzzahlLesen(text), erwartet);
}

void TestGeldText::summeBleibtCentgenau()
{
    const Cent a = BetragLesen(QStringLiteral("1,10")).value();
    const Cent b = BetragLesen(QStringLiteral("2,20")).value();
    QCOMPARE(a + b, Cent(330));
    QCOMPARE(ZahlAllgemein(a + b), QStringLiteral("3,3"));
    QCOMPARE(BetragFormat(a + b), QStringLiteral("3,30"));

    // Ten thousand sales of 0,10 are exactly 1000,00.
    Cent summe = 0;
    for (int i = 0; i < 10000; ++i)
        summe += BetragLesen(QStringLiteral("0,1")).value();
    QCOMPARE(BetragFormat(summe), QStringLiteral("1000,00"));
}

void TestGeldText::zeilenBetrag_data()
{
    QTest::addColumn<QString>("preis");
    QTest::addColumn<QString>("anzahl");
    QTest::addColumn<std::optional<Cent>>("erwartet");
    using O = std::optional<Cent>;

    QTest::newRow("einfach") << "1,50" << "3" << O(450);
    QTest::newRow("drei Stellen, einmal gerundet") << "0,333" << "3" << O(100);
    QTest::newRow("halber Cent rundet auf") << "0,125" << "3" << O(38);
    QTest::newRow("halber Cent negativ weg von null") << "-0,125" << "3" << O(-38);
    QTest::newRow("viele Stellen") << "0,0016666667" << "3" << O(1);
    QTest::newRow("Punkt heisst Komma") << "2.5" << "10" << O(2500);
    QTest::newRow("bis zum Hoechstbetrag") << "100000000" << "10" << O(kHoechstbetrag);

    QTest::newRow("schlecht: Preis Unbekannt") << "Unbekannt" << "1" << O();
    QTest::newRow("schlecht: Preis ein Blank") << " " << "1" << O();
    QTest::newRow("schlecht: fuenfzehn Stellen") << "999999999999999" << "1" << O();
    QTest::newRow("schlecht: vierzehn Stellen mal zehn") << "99999999999999" << "10" << O();
    QTest::newRow("schlecht: Produkt ueber dem Hoechstbetrag") << "100000000,01" << "10" << O();
}

void TestGeldText::zeilenBetrag()
{
    QFETCH(QString, preis);
    QFETCH(QString, anzahl);
    QFETCH(std::optional<Cent>, erwartet);
    QCOMPARE(ZeilenBetrag(preis, anzahl), erwartet);
}

void TestGeldText::summeAddieren()
{
    QCOMPARE(SummeAddieren(kHoechstbetrag - 1, 1), std::optional<Cent>(kHoechstbetrag));
    QCOMPARE(SummeAddieren(-kHoechstbetrag, kHoechstbetrag), std::optional<Cent>(0));
    QCOMPARE(SummeAddieren(kHoechstbetrag, 1), std::nullopt);
    QCOMPARE(SummeAddieren(-kHoechstbetrag, -1), std::nullopt);
    QCOMPARE(SummeAddieren(std::numeric_limits<Cent>::max(), std::numeric_limits<Cent>::max()),
             std::nullopt);
}

void TestGeldText::umlauteWandeln_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("erwartet");
    QTest::newRow("Grüße") << QStringLiteral("Grüße") << QByteArray::fromHex("477281E165");
    QTest::newRow("alle sieben") << QStringLiteral("ÄÖÜäöüß") << QByteArray::fromHex("8E999A849481E1");
    QTest::newRow("ohne Umlaute unveraendert") << QStringLiteral("Cola 0,5l") << QByteArray("Cola 0,5l");
    QTest::newRow("leer") << QString() << QByteArray();
    QTest::newRow("andere Akzente bleiben Windows-1252") << QStringLiteral("é") << QByteArray("\xE9");
}

void TestGeldText::umlauteWandeln()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, erwartet);
    QCOMPARE(UmlauteWandeln(text), erwartet);
}

void TestGeldText::cp1252AlleBytesUeberstehen()
{
    // Every byte of a hand-edited file must be written back unchanged,
    // including the five that Windows-1252 leaves undefined.
    QByteArray alle;
    for (int b = 0; b < 256; ++b)
        alle.append(char(b));
    QCOMPARE(Cp1252Schreiben(Cp1252Lesen(alle)), alle);
}

// The characters named as not kept are exactly those written as '?'.
void TestGeldText::cp1252Schreiben_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("erwartet");
    QTest::addColumn<QStringList>("fremd");
    QTest::newRow("Umlaute") << QStringLiteral("Grüße Ä") << QByteArray("Gr\xFC\xDF" "e \xC4") << QStringList();
    QTest::newRow("Euro") << QStringLiteral("5 €") << QByteArray("5 \x80") << QStringList();
    QTest::newRow("Anfuehrung unten") << QStringLiteral("„") << QByteArray("\x84") << QStringList();
    QTest::newRow("Fragezeichen selbst") << QStringLiteral("Wer?") << QByteArray("Wer?") << QStringList();
    QTest::newRow("U+0081 aus einer Datei") << QString::fromUtf16(u"a\u0081") << QByteArray("a\x81")
                                           << QStringList();
    QTest::newRow("nicht darstellbar") << QStringLiteral("Ω") << QByteArray("?") << QStringList{u"Ω"_qs};
    QTest::newRow("kyrillisch, jedes Zeichen einmal")
        << QStringLiteral("Kwas Квас") << QByteArray("Kwas ????") << QStringList{u"К"_qs, u"в"_qs, u"а"_qs, u"с"_qs};
    QTest::newRow("ausserhalb der Grundebene ein Zeichen")
        << QString::fromUcs4(U"a\U0001F600b") << QByteArray("a?b") << QStringList{QString::fromUcs4(U"\U0001F600")};
    QTest::newRow("halbes Ersatzzeichen") << QString::fromUtf16(u"a\xD800") << QByteArray("a?")
                                         << QStringList{QString::fromUtf16(u"\xD800", 1)};
}

void TestGeldText::cp1252Schreiben()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, erwartet);
    QFETCH(QStringList, fremd);
    QCOMPARE(Cp1252Schreiben(text), erwartet);
    QCOMPARE(NichtCp1252(text), fremd);
}

void TestGeldText::iniTextBereinigen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("unveraendert") << "Cola, 0,5 l = 2 €" << "Cola, 0,5 l = 2 €";
    QTest::newRow("Blanks bleiben") << "  a  " << "  a  ";
    QTest::newRow("CR LF") << "a\r\nb" << "ab";
    QTest::newRow("LF") << "a\nb" << "ab";
    QTest::newRow("CR") << "a\rb" << "ab";
    QTest::newRow("NUL") << QString::fromUtf16(u"a\u0000b", 3) << "ab";
    QTest::newRow("Tabulator bleibt") << "a\tb" << "a\tb";
    QTest::newRow("DEL bleibt") << "a\x7f" "b" << "a\x7f" "b";
    QTest::newRow("U+0081 bleibt") << QString::fromUtf16(u"a\u0081b") << QString::fromUtf16(u"a\u0081b");
    QTest::newRow("Zeilentrenner U+2028") << QString::fromUtf16(u"a\u2028b") << "ab";
    QTest::newRow("Absatztrenner U+2029") << QString::fromUtf16(u"a\u2029b") << "ab";
    QTest::newRow("Umlaute bleiben") << "Grüße" << "Grüße";
}

void TestGeldText::iniTextBereinigen()
{
    QFETCH(QString, text);
    QFETCH(QString, erwartet);
    QCOMPARE(IniTextBereinigen(text), erwartet);
}

QTEST_GUILESS_MAIN(TestGeldText)
#include "test_geld_text.moc"
