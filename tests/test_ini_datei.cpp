// The INI layer: every rule the register's files rely on, checked on the
// bytes that reach the disk; and which device each COM number stands for.
#include "persistence/ini_datei.h"
#include "persistence/schnittstellen.h"
#include "core/text_helfer.h"
#include "support/testdaten.h"
#include "support/programmordner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace zanti;
using zanti::test::Programmordner;
using zanti::test::Zeilen;

namespace {

struct Schreibvorgang
{
    QString abschnitt, schluessel, wert;
};

} // namespace

Q_DECLARE_METATYPE(QList<Schreibvorgang>)

class TestIniDatei : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data();
    void lesen();
    void lesenAusFehlenderDatei();
    void schreiben_data();
    void schreiben();
    void schreibenLegtDateiAn();
    void unveraendertGespeichertBleibtByteGleich();
    void umlauteHinUndZurueck();
    void langerWertDurchPuffer_data();
    void langerWertDurchPuffer();
    void zeilenumbruchImWertBleibtImWert_data();
    void zeilenumbruchImWertBleibtImWert();
    void speichernScheitert();
    void speichernOhneZielLaesstAllesStehen();
    void speichernLaesstKeineReste();
    void geraetZuordnung_data();
    void geraetZuordnung();
};

void TestIniDatei::lesen_data()
{
    QTest::addColumn<QByteArray>("datei");
    QTest::addColumn<QString>("abschnitt");
    QTest::addColumn<QString>("schluessel");
    QTest::addColumn<int>("puffer");
    QTest::addColumn<QString>("erwartet");

    const QByteArray kopf = Zeilen({"[kopf]", "Titel1=Sportverein", "Titel2=Sommerfest"});
    QTest::newRow("genau") << kopf << "kopf" << "Titel2" << 40 << "Sommerfest";
    QTest::newRow("Abschnitt ohne Gross/Klein") << kopf << "KOPF" << "Titel1" << 40 << "Sportverein";
    QTest::newRow("Schluessel ohne Gross/Klein") << kopf << "kopf" << "tItEl1" << 40 << "Sportverein";
    QTest::newRow("Status und status gleich")
        << Zeilen({"[Status]", "Einstellung4=geheim"}) << "status" << "Einstellung4" << 30 << "geheim";
    QTest::newRow("Blanks um Abschnittsnamen")
        << Zeilen({"[ kopf ]", "Titel1=x"}) << "kopf" << "Titel1" << 40 << "x";
    QTest::newRow("Blanks um Schluessel")
        << Zeilen({"[kopf]", "  Titel1  =x"}) << "kopf" << "Titel1" << 40 << "x";
    QTest::newRow("Blanks um Wert")
        << Zeilen({"[kopf]", "Titel1=   Fest am See   "}) << "kopf" << "Titel1" << 40 << "Fest am See";
    QTest::newRow("Tabulatoren um Wert")
        << Zeilen({"[kopf]", "Titel1=\tx\t"}) << "kopf" << "Titel1" << 40 << "x";
    QTest::newRow("ein Blank liest leer")
        << Zeilen({"[Preise]", "Preis7= "}) << "Preise" << "Preis7" << 40 << "";
    QTest::newRow("leerer Wert")
        << Zeilen({"[Preise]", "Preis7="}) << "Preise" << "Preis7" << 40 << "";
    QTest::newRow("doppelte Anfuehrung entfernt")
        << Zeilen({"[kopf]", "Titel1=\" Fest \""}) << "kopf" << "Titel1" << 40 << " Fest ";
    QTest::newRow("einfache Anfuehrung entfernt")
        << Zeilen({"[kopf]", "Titel1='Fest'"}) << "kopf" << "Titel1" << 40 << "Fest";
    QTest::newRow("nur ein Paar entfernt")
        << Zeilen({"[kopf]", "Titel1=\"\"Fest\"\""}) << "kopf" << "Titel1" << 40 << "\"Fest\"";
    QTest::newRow("ungleiche Anfuehrung bleibt")
        << Zeilen({"[kopf]", "Titel1=\"Fest'"}) << "kopf" << "Titel1" << 40 << "\"Fest'";
    QTest::newRow("einzelne Anfuehrung bleibt")
        << Zeilen({"[kopf]", "Titel1=\""}) << "kopf" << "Titel1" << 40 << "\"";
    QTest::newRow("Anfuehrung innen bleibt")
        << Zeilen({"[kopf]", "Titel1=Club \"Eintracht\" e.V."}) << "kopf" << "Titel1" << 40
        << "Club \"Eintracht\" e.V.";
    QTest::newRow("Gleichheitszeichen im Wert")
        << Zeilen({"[kopf]", "Titel1=a=b"}) << "kopf" << "Titel1" << 40 << "a=b";
    QTest::newRow("Umlaute Windows-1252")
        << QByteArray("[kopf]\r\nTitel1=Gr\xFC\xDF" "e \x80\r\n") << "kopf" << "Titel1" << 40
        << QStringLiteral("Grüße €");
    QTest::newRow("erster von zwei gleichen Schluesseln")
        << Zeilen({"[kopf]", "Titel1=erster", "TITEL1=zweiter"}) << "kopf" << "Titel1" << 40 << "erster";
    QTest::newRow("Zeilenende nur LF")
        << QByteArray("[kopf]\nTitel1=a\nTitel2=b\n") << "kopf" << "Titel2" << 40 << "b";
    QTest::newRow("letzte Zeile ohne Zeilenende")
        << QByteArray("[kopf]\r\nTitel1=a") << "kopf" << "Titel1" << 40 << "a";
    QTest::newRow("Blankzeilen und Kommentare dazwischen")
        << Zeilen({"; Kopf des Bons", "", "[kopf]", "; erste Zeile", "", "Titel1=a"})
        << "kopf" << "Titel1" << 40 << "a";
    QTest::newRow("Schluessel aus dem naechsten Abschnitt nicht")
        << Zeilen({"[kopf]", "[Status]", "Titel1=a"}) << "kopf" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("Wert auf Puffer minus eins gekuerzt")
        << Zeilen({"[kopf]", "Titel1=abcdefghij"}) << "kopf" << "Titel1" << 5 << "abcd";
    QTest::newRow("Vorgabe ebenso gekuerzt")
        << Zeilen({"[kopf]"}) << "kopf" << "Titel1" << 5 << "Unbe";

    QTest::newRow("fehlt: Abschnitt") << kopf << "Status" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("fehlt: Schluessel") << kopf << "kopf" << "Titel3" << 40 << "Unbekannt";
    QTest::newRow("fehlt: leere Datei") << QByteArray() << "kopf" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("fehlt: nur auskommentiert")
        << Zeilen({"[kopf]", ";Titel1=a"}) << "kopf" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("fehlt: Zeile ohne Gleichheitszeichen")
        << Zeilen({"[kopf]", "Titel1"}) << "kopf" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("fehlt: Schluessel nur Anfang")
        << Zeilen({"[kopf]", "Titel10=a"}) << "kopf" << "Titel1" << 40 << "Unbekannt";
    QTest::newRow("fehlt: Schluessel vor jedem Abschnitt")
        << Zeilen({"Titel1=a", "[kopf]"}) << "kopf" << "Titel1" << 40 << "Unbekannt";
}

void TestIniDatei::lesen()
{
    QFETCH(QByteArray, datei);
    QFETCH(QString, abschnitt);
    QFETCH(QString, schluessel);
    QFETCH(int, puffer);
    QFETCH(QString, erwartet);

    Programmordner ordner;
    ordner.schreiben(QStringLiteral("test.ini"), datei);
    QCOMPARE(IniLesen(ordner.datei(QStringLiteral("test.ini")), abschnitt, schluessel, puffer), erwartet);
}

void TestIniDatei::lesenAusFehlenderDatei()
{
    Programmordner ordner;
    const QString pfad = ordner.datei(QStringLiteral("fehlt.ini"));
    QCOMPARE(IniLesen(pfad, QStringLiteral("verkauft"), QStringLiteral("Taste1"), 40),
             QStringLiteral("Unbekannt"));
    QCOMPARE(IniDatei::Laden(pfad).inhalt(), QByteArray());
    QVERIFY(!ordner.gibt(QStringLiteral("fehlt.ini")));
}

void TestIniDatei::schreiben_data()
{
    QTest::addColumn<QByteArray>("vorher");
    QTest::addColumn<QList<Schreibvorgang>>("schreibvorgaenge");
    QTest::addColumn<QByteArray>("nachher");
    using L = QList<Schreibvorgang>;

    const QByteArray gemischt = Zeilen({
        "; Einstellungen von Hand",
        "[Status]",
        "Einstellung1=1",
        "  einstellung2 = 0  ",
        "Einstellung3=0",
        "",
        "[Andere]",
        "Wert=x",
    });

    QTest::newRow("ersetzen an Ort und Stelle")
        << gemischt << L{{"Status", "Einstellung3", "1"}}
        << Zeilen({"; Einstellungen von Hand", "[Status]", "Einstellung1=1", "  einstellung2 = 0  ",
                   "Einstellung3=1", "", "[Andere]", "Wert=x"});
    QTest::newRow("ersetzen ohne Gross/Klein behaelt den Namen der Datei")
        << gemischt << L{{"status", "Einstellung2", "1"}}
        << Zeilen({"; Einstellungen von Hand", "[Status]", "Einstellung1=1", "einstellung2=1",
                   "Einstellung3=0", "", "[Andere]", "Wert=x"});
    QTest::newRow("neuer Schluessel ans Ende seines Abschnitts")
        << gemischt << L{{"Status", "Einstellung4", "geheim"}}
        << Zeilen({"; Einstellungen von Hand", "[Status]", "Einstellung1=1", "  einstellung2 = 0  ",
                   "Einstellung3=0", "Einstellung4=geheim", "", "[Andere]", "Wert=x"});
    QTest::newRow("nach einer neuen Zeile stehen die folgenden eine tiefer")
        << gemischt
        << L{{"Status", "Einstellung4", "geheim"}, {"Andere", "Wert", "y"}, {"status", "EINSTELLUNG4", "neu"}}
        << Zeilen({"; Einstellungen von Hand", "[Status]", "Einstellung1=1", "  einstellung2 = 0  ",
                   "Einstellung3=0", "Einstellung4=neu", "", "[Andere]", "Wert=y"});
    QTest::newRow("neuer Schluessel im letzten Abschnitt")
        << gemischt << L{{"Andere", "Noch", "y"}}
        << gemischt + Zeilen({"Noch=y"});
    QTest::newRow("neuer Abschnitt ans Dateiende")
        << gemischt << L{{"kopf", "Titel1", "Fest"}}
        << gemischt + Zeilen({"[kopf]", "Titel1=Fest"});
    QTest::newRow("Abschnitt nur aus Kopfzeile")
        << Zeilen({"[kopf]", "[Status]", "Einstellung1=1"}) << L{{"kopf", "Titel1", "a"}}
        << Zeilen({"[kopf]", "Titel1=a", "[Status]", "Einstellung1=1"});
    QTest::newRow("nur erster von zwei gleichen Schluesseln")
        << Zeilen({"[kopf]", "Titel1=a", "Titel1=b"}) << L{{"kopf", "Titel1", "c"}}
        << Zeilen({"[kopf]", "Titel1=c", "Titel1=b"});
    QTest::newRow("Kommentar mit gleichem Namen bleibt")
        << Zeilen({"[kopf]", ";Titel1=alt"}) << L{{"kopf", "Titel1", "neu"}}
        << Zeilen({"[kopf]", ";Titel1=alt", "Titel1=neu"});
    QTest::newRow("ein Blank bleibt ein Blank")
        << QByteArray() << L{{"Preise", "Preis7", " "}} << QByteArray("[Preise]\r\nPreis7= \r\n");
    QTest::newRow("Umlaute als Windows-1252")
        << QByteArray() << L{{"kopf", "Titel1", QStringLiteral("Grüße €")}}
        << QByteArray("[kopf]\r\nTitel1=Gr\xFC\xDF" "e \x80\r\n");
    QTest::newRow("fremde Bytes der Datei bleiben")
        << QByteArray("[x]\r\nroh=\x81\x8D\x8F\x90\x9D\xFF\r\n") << L{{"x", "neu", "1"}}
        << QByteArray("[x]\r\nroh=\x81\x8D\x8F\x90\x9D\xFF\r\nneu=1\r\n");
    QTest::newRow("nur CR als Zeilenende")
        << QByteArray("[verkauft]\rTaste1=5\rTaste2=7\r") << L{{"verkauft", "Taste1", "6"}}
        << Zeilen({"[verkauft]", "Taste1=6", "Taste2=7"});
    QTest::newRow("UTF-8 mit Byte-Order-Mark wird Windows-1252")
        << QByteArray("\xEF\xBB\xBF[Artikel]\r\nGetraenke1=Gr\xC3\xBC\xC3\x9F" "e\r\nGetraenke2=x\r\n")
        << L{{"Artikel", "Getraenke2", "Saft"}}
        << QByteArray("[Artikel]\r\nGetraenke1=Gr\xFC\xDF" "e\r\nGetraenke2=Saft\r\n");
    QTest::newRow("Tabulator und fremdes Byte im Wert bleiben")
        << QByteArray() << L{{"Status", "Einstellung4", QStringLiteral("ge\theim") + QChar(0x81)}}
        << QByteArray("[Status]\r\nEinstellung4=ge\theim\x81\r\n");
    QTest::newRow("letzte Zeile bekommt ihr CR LF")
        << QByteArray("[kopf]\r\nTitel1=a") << L{{"kopf", "Titel2", "b"}}
        << QByteArray("[kopf]\r\nTitel1=a\r\nTitel2=b\r\n");
    QTest::newRow("mehrere nacheinander in neue Datei")
        << QByteArray()
        << L{{"Artikel", "Getraenke1", "Cola"}, {"Preise", "Preis1", "1,50"},
             {"Artikel", "Getraenke2", "Bier"}, {"Artikel", "Getraenke1", "Wasser"}}
        << Zeilen({"[Artikel]", "Getraenke1=Wasser", "Getraenke2=Bier", "[Preise]", "Preis1=1,50"});
}

void TestIniDatei::schreiben()
{
    QFETCH(QByteArray, vorher);
    QFETCH(QList<Schreibvorgang>, schreibvorgaenge);
    QFETCH(QByteArray, nachher);

    Programmordner ordner;
    if (!vorher.isEmpty())
        ordner.schreiben(QStringLiteral("test.ini"), vorher);
    IniDatei ini = IniDatei::Laden(ordner.datei(QStringLiteral("test.ini")));
    for (const Schreibvorgang &s : schreibvorgaenge)
        ini.schreiben(s.abschnitt, s.schluessel, s.wert);
    QCOMPARE(ini.inhalt(), nachher);
    QVERIFY(ini.speichern());
    QCOMPARE(ordner.lesen(QStringLiteral("test.ini")), nachher);
}

void TestIniDatei::schreibenLegtDateiAn()
{
    Programmordner ordner;
    const QString pfad = ordner.datei(QStringLiteral("neu.ini"));
    IniDatei ini = IniDatei::Laden(pfad);
    ini.schreiben(QStringLiteral("verkauft"), QStringLiteral("Taste1"), QStringLiteral("3"));
    QVERIFY(!ordner.gibt(QStringLiteral("neu.ini")));   // only speichern() touches the disk
    QVERIFY(ini.speichern());
    QCOMPARE(ordner.lesen(QStringLiteral("neu.ini")), QByteArray("[verkauft]\r\nTaste1=3\r\n"));
    QCOMPARE(IniLesen(pfad, QStringLiteral("Verkauft"), QStringLiteral("TASTE1"), 40), QStringLiteral("3"));
}

void TestIniDatei::unveraendertGespeichertBleibtByteGleich()
{
    const QByteArray datei = Zeilen({"; Kommentar", "", "[Status]", "  Einstellung1 = 1 ",
                                     "kein Schluessel", "[leer]", "", ""})
        + QByteArray("[x]\r\nroh=\xE4\x81\r\n");
    Programmordner ordner;
    ordner.schreiben(QStringLiteral("test.ini"), datei);
    const IniDatei ini = IniDatei::Laden(ordner.datei(QStringLiteral("test.ini")));
    QCOMPARE(ini.inhalt(), datei);
    QVERIFY(ini.speichern());
    QCOMPARE(ordner.lesen(QStringLiteral("test.ini")), datei);
}

void TestIniDatei::umlauteHinUndZurueck()
{
    Programmordner ordner;
    const QString pfad = ordner.datei(QStringLiteral("kasse.ini"));
    const QString text = QStringLiteral("Äpfel, Öl, Übel, ärger, öde, über, Spaß");
    IniDatei ini = IniDatei::Laden(pfad);
    ini.schreiben(QStringLiteral("Artikel"), QStringLiteral("Getraenke1"), text);
    QVERIFY(ini.speichern());
    QCOMPARE(ordner.lesen(QStringLiteral("kasse.ini")),
             QByteArray("[Artikel]\r\nGetraenke1=\xC4pfel, \xD6l, \xDC" "bel, \xE4rger, \xF6" "de, \xFC"
                        "ber, Spa\xDF\r\n"));
    QCOMPARE(IniLesen(pfad, QStringLiteral("Artikel"), QStringLiteral("Getraenke1"), 40), text);
}

void TestIniDatei::langerWertDurchPuffer_data()
{
    QTest::addColumn<int>("puffer");
    QTest::addColumn<int>("laenge");
    QTest::newRow("Puffer 40") << 40 << 39;
    QTest::newRow("Puffer 30") << 30 << 29;
    QTest::newRow("Puffer groesser als Wert") << 60 << 45;
}

void TestIniDatei::langerWertDurchPuffer()
{
    QFETCH(int, puffer);
    QFETCH(int, laenge);
    // 45 characters, umlauts among them: each is one byte in the file.
    const QString wert = QStringLiteral("Apfelschorle groß ÄÖÜ 0,5 Liter mit Eis 12345");
    QCOMPARE(wert.size(), 45);

    Programmordner ordner;
    IniDatei ini = IniDatei::Laden(ordner.datei(QStringLiteral("kasse.ini")));
    ini.schreiben(QStringLiteral("Artikel"), QStringLiteral("Getraenke1"), wert);
    QVERIFY(ini.speichern());
    const QString gelesen =
        IniLesen(ordner.datei(QStringLiteral("kasse.ini")), QStringLiteral("Artikel"),
                 QStringLiteral("Getraenke1"), puffer);
    QCOMPARE(gelesen, wert.left(laenge));
}

void TestIniDatei::zeilenumbruchImWertBleibtImWert_data()
{
    QTest::addColumn<QString>("wert");
    QTest::newRow("CR LF") << "0\r\nEinstellung4=offen";
    QTest::newRow("LF") << "0\nEinstellung4=offen";
    QTest::newRow("CR") << "0\rEinstellung4=offen";
    QTest::newRow("neuer Abschnitt") << "0\r\n[Status]\r\nEinstellung4=offen";
    QTest::newRow("Unicode-Zeilentrenner") << QString::fromUtf16(u"0\u2028Einstellung4=offen");
}

void TestIniDatei::zeilenumbruchImWertBleibtImWert()
{
    QFETCH(QString, wert);
    Programmordner ordner;
    ordner.schreibenZeilen(QStringLiteral("Einstellungen.ini"),
                           {"[Status]", "Einstellung3=0", "Einstellung4=geheim"});
    const QString pfad = ordner.datei(QStringLiteral("Einstellungen.ini"));
    IniDatei ini = IniDatei::Laden(pfad);
    ini.schreiben(QStringLiteral("Status"), QStringLiteral("Einstellung3"), wert);
    QVERIFY(ini.speichern());

    const QByteArray bytes = ordner.lesen(QStringLiteral("Einstellungen.ini"));
    QCOMPARE(bytes.count("\r\n"), 3);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count('\r'), 3);
    QCOMPARE(IniLesen(pfad, QStringLiteral("Status"), QStringLiteral("Einstellung4"), 30),
             QStringLiteral("geheim"));
}

void TestIniDatei::speichernScheitert()
{
    Programmordner ordner;
    // A folder that does not exist: no user can write there.
    IniDatei fehlt = IniDatei::Laden(ordner.datei(QStringLiteral("gibtsnicht/verkauf.ini")));
    fehlt.schreiben(QStringLiteral("verkauft"), QStringLiteral("Taste1"), QStringLiteral("1"));
    QVERIFY(!fehlt.speichern());
}

void TestIniDatei::speichernOhneZielLaesstAllesStehen()
{
    // A folder standing where the file must go stops every user, root too:
    // the save fails, the folder and what it holds stay, no temporary is left.
    Programmordner ordner;
    QVERIFY(QDir(ordner.pfad()).mkdir(QStringLiteral("verkauf.ini")));
    const QString pfad = ordner.datei(QStringLiteral("verkauf.ini"));
    {
        QFile alt(QDir(pfad).filePath(QStringLiteral("alt")));
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("[verkauft]\r\nTaste1=5\r\n");
    }
    IniDatei ini = IniDatei::Laden(pfad);
    QCOMPARE(ini.lesen(QStringLiteral("verkauft"), QStringLiteral("Taste1"), 40),
             QStringLiteral("Unbekannt"));
    ini.schreiben(QStringLiteral("verkauft"), QStringLiteral("Taste1"), QStringLiteral("6"));
    QVERIFY(!ini.speichern());

    QVERIFY(QFileInfo(pfad).isDir());
    QCOMPARE(QDir(ordner.pfad()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("verkauf.ini")});
    QFile alt(QDir(pfad).filePath(QStringLiteral("alt")));
    QVERIFY(alt.open(QIODevice::ReadOnly));
    QCOMPARE(alt.readAll(), QByteArray("[verkauft]\r\nTaste1=5\r\n"));
}

void TestIniDatei::speichernLaesstKeineReste()
{
    Programmordner ordner;
    ordner.schreibenZeilen(QStringLiteral("verkauf.ini"), {"[verkauft]", "Taste1=1"});
    IniDatei ini = IniDatei::Laden(ordner.datei(QStringLiteral("verkauf.ini")));
    for (int i = 0; i < 3; ++i) {
        ini.schreiben(QStringLiteral("verkauft"), QStringLiteral("Taste1"), QString::number(i));
        QVERIFY(ini.speichern());
    }
    QCOMPARE(QDir(ordner.pfad()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("verkauf.ini")});
    QCOMPARE(ordner.lesen(QStringLiteral("verkauf.ini")), QByteArray("[verkauft]\r\nTaste1=2\r\n"));
}

void TestIniDatei::geraetZuordnung_data()
{
    QTest::addColumn<QStringList>("datei"); // empty: no schnittstellen.ini
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("erwartet");

    const auto standard = [](int n) {
#ifdef Q_OS_WIN
        return QStringLiteral("COM%1").arg(n);
#else
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
    };
    const QStringList eintrag{"[Drucker]", "COM3=/falsch", "[COM]", "COM3=/dev/pts/42", "COM12=ttyUSB0"};
    QTest::newRow("ohne Datei COM 1") << QStringList() << 1 << standard(1);
    QTest::newRow("ohne Datei COM 16") << QStringList() << 16 << standard(16);
    QTest::newRow("eingetragen") << eintrag << 3 << "/dev/pts/42";
    QTest::newRow("eingetragen ohne Pfad") << eintrag << 12 << "ttyUSB0";
    QTest::newRow("nicht eingetragen") << eintrag << 4 << standard(4);
    QTest::newRow("nur in anderem Abschnitt") << QStringList{"[Drucker]", "COM1=/falsch"} << 1 << standard(1);
    QTest::newRow("Namen ohne Gross-/Kleinschreibung, Blanks")
        << QStringList{"[com]", "com5 =  /tmp/drucker  "} << 5 << "/tmp/drucker";
    QTest::newRow("leerer Eintrag") << QStringList{"[COM]", "COM2="} << 2 << standard(2);
}

void TestIniDatei::geraetZuordnung()
{
    QFETCH(QStringList, datei);
    QFETCH(int, port);
    QFETCH(QString, erwartet);
    Programmordner ordner;
    if (!datei.isEmpty())
        ordner.schreibenZeilen(QStringLiteral("schnittstellen.ini"), datei);
    QCOMPARE(ComGeraet(ordner.pfad(), port), erwartet);
}

QTEST_GUILESS_MAIN(TestIniDatei)
#include "test_ini_datei.moc"
