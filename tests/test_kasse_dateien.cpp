// The register's files seen from the window: key layouts saved and loaded
// through the file dialog, files that cannot be written after a receipt, at
// a key edit and at shutdown, and what the shutdown leaves on disk.
#include "persistence/ini_datei.h"
#include "core/text_helfer.h"
#include "printing/drucker_port.h"
#include "persistence/bon_tabelle.h"
#include "register/dateiauswahl.h"
#include "register/kassen_taste.h"
#include "support/kassen_fixture.h"
#include "support/pseudo_terminal.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kFilter = u"Zantidateien (*.bon);;Inidateien (*.ini)"_qs;
// 45 characters.
const QString k45 = u"Großer gemischter Salat mit Brot und Dressing!"_qs;

QByteArray Datei(const QStringList &zeilen)
{
    QByteArray bytes;
    for (const QString &zeile : zeilen)
        bytes += Cp1252Schreiben(zeile) + "\r\n";
    return bytes;
}

void Ersetzen(QStringList &zeilen, const QString &schluessel, const QString &wert)
{
    for (QString &zeile : zeilen) {
        if (zeile.startsWith(schluessel + u'=')) {
            zeile = schluessel + u'=' + wert;
            return;
        }
    }
    QFAIL(qPrintable(u"no key "_qs + schluessel));
}

QString Fehlertext(const QString &name)
{
    return u"Die Datei %1 konnte nicht gespeichert werden. Die Daten bleiben erhalten "
           "und werden beim nächsten Mal wieder gespeichert."_qs.arg(name);
}

QStringList Eintraege(const Programmordner &ordner)
{
    return QDir(ordner.pfad()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A file of the program folder replaced by a folder: root ignores file
// permissions, but nobody can write a file where a folder is.
void Versperren(const Programmordner &ordner, const QString &name)
{
    QFile::remove(ordner.datei(name));
    QVERIFY(QDir(ordner.pfad()).mkdir(name));
}

void Freigeben(const Programmordner &ordner, const QString &name)
{
    QVERIFY(QDir(ordner.pfad()).rmdir(name));
}

QString IniWert(const KassenFixture &f, const QString &datei, const QString &abschnitt,
                const QString &schluessel)
{
    return IniLesen(f.ordner.datei(datei), abschnitt, schluessel, 40);
}

// The file dialog of the layout buttons, answered at once.
class Dateidialog
{
public:
    explicit Dateidialog(const QString &antwort)
    {
        DateiauswahlSetzen([this, antwort](QWidget *, Dateimodus m, const QString &start,
                                           const QString &f, NachWahl nachWahl) {
            ++aufrufe;
            modus = m;
            startordner = start;
            filter = f;
            nachWahl(antwort);
        });
    }
    ~Dateidialog() { DateiauswahlSetzen({}); }

    int aufrufe = 0;
    Dateimodus modus = Dateimodus::Oeffnen;
    QString startordner;
    QString filter;
};

// One article on key 1 at 1,00, then "=".
void EinBon(KassenFixture &f)
{
    f.klicken(u"Command1"_qs);
    f.klicken(u"IstgleichTaste"_qs);
}

void SetupModus(KassenFixture &f)
{
    f.einstellen();
    QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command7"_qs), 1000);
}

// Opens key k in the editor, types the text and commits.
void TasteAendern(KassenFixture &f, int k, const QString &text)
{
    f.klicken(u"Command"_qs + QString::number(k));
    f.finden<QLineEdit>(u"Text1"_qs)->setText(text);
    f.klicken(u"Übernahme"_qs);
}

struct Tastenbild
{
    QString beschriftung;
    QColor farbe;
    bool aktiv = false;
    bool operator==(const Tastenbild &) const = default;
};

QList<Tastenbild> Tastenbilder(const KassenFixture &f)
{
    QList<Tastenbild> bilder;
    for (int i = 1; i <= 35; ++i) {
        auto *taste = f.finden<KassenTaste>(u"Command"_qs + QString::number(i));
        bilder.append({taste->beschriftung(), taste->farbe(), taste->isEnabled()});
    }
    return bilder;
}

} // namespace

class TestKasseDateien : public QObject
{
    Q_OBJECT

private slots:
    // ------------------------------------------------------ layout files

    void layoutSpeichern_data()
    {
        QTest::addColumn<QByteArray>("vorher"); // empty: the file is new
        QTest::addColumn<QByteArray>("davor");  // lines the save keeps in front
        QTest::newRow("neue Datei") << QByteArray() << QByteArray();
        QTest::newRow("alte Datei gleichen Namens")
            << QByteArray("; Stand 2015\r\n[Artikel]\r\nGetraenke1=Alt\r\n[Preise]\r\nPreis1=9,99\r\n")
            << QByteArray("; Stand 2015\r\n");
    }

    void layoutSpeichern()
    {
        QFETCH(QByteArray, vorher);
        QFETCH(QByteArray, davor);
        QStringList layout = KassenFixture::BeispielLayout();
        Ersetzen(layout, u"Getraenke1"_qs, u"Glühwein heiß"_qs);
        Ersetzen(layout, u"Farbe3"_qs, u"-2147483633"_qs);
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, layout);
        if (!vorher.isEmpty())
            f.ordner.schreiben(u"sommerfest.bon"_qs, vorher);
        f.starten();
        const QByteArray kasseIni = f.ordner.lesen(u"kasse.ini"_qs);
        f.rekorder.meldungen.clear();

        Dateidialog dialog(f.ordner.datei(u"sommerfest.bon"_qs));
        f.klicken(u"SpeichernButton"_qs);
        QCOMPARE(dialog.aufrufe, 1);
        QVERIFY(dialog.modus == Dateimodus::Speichern);
        QCOMPARE(dialog.startordner, f.ordner.pfad());
        QCOMPARE(dialog.filter, kFilter);

        // Artikel, Preise, Farben with keys 1..35 each; key 7 has no price.
        const QByteArray gespeichert = f.ordner.lesen(u"sommerfest.bon"_qs);
        QCOMPARE(gespeichert, davor + Datei(layout));
        QVERIFY(gespeichert.contains("\r\nPreis7= \r\nPreis8=8,00\r\n"));
        QVERIFY(gespeichert.contains("Getraenke1=Gl\xfchwein hei\xdf\r\n"));
        QCOMPARE(f.ordner.lesen(u"kasse.ini"_qs), kasseIni);
        QVERIFY(f.kasse().zustand().Tasten.ArtikelPreis[7].isEmpty());
        QVERIFY(!f.aktiv(u"Command7"_qs));
        QVERIFY(f.rekorder.meldungen.isEmpty());
        QCOMPARE(Eintraege(f.ordner).filter(u"sommerfest"_qs), QStringList{u"sommerfest.bon"_qs});
    }

    void layoutSpeichernAbbrechen()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        const QByteArray kasseIni = f.ordner.lesen(u"kasse.ini"_qs);
        const QStringList eintraege = Eintraege(f.ordner);
        f.rekorder.meldungen.clear();

        Dateidialog dialog({});
        f.klicken(u"SpeichernButton"_qs);
        QCOMPARE(dialog.aufrufe, 1);
        QCOMPARE(Eintraege(f.ordner), eintraege);
        QCOMPARE(f.ordner.lesen(u"kasse.ini"_qs), kasseIni);
        QVERIFY(f.rekorder.meldungen.isEmpty());
    }

    void layoutLaden()
    {
        // At start key 3 has no price (disabled), key 7 has one.
        QStringList kasse = KassenFixture::BeispielLayout();
        Ersetzen(kasse, u"Preis3"_qs, u" "_qs);
        Ersetzen(kasse, u"Preis7"_qs, u"7,00"_qs);
        QStringList datei = KassenFixture::BeispielLayout();
        Ersetzen(datei, u"Getraenke1"_qs, u"Glühwein"_qs);
        Ersetzen(datei, u"Getraenke35"_qs, k45);
        Ersetzen(datei, u"Preis3"_qs, u"3,50"_qs);
        Ersetzen(datei, u"Farbe2"_qs, u"255"_qs);

        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, kasse);
        f.ordner.schreibenZeilen(u"fest.bon"_qs, datei);
        f.starten();
        QVERIFY(!f.aktiv(u"Command3"_qs));
        QVERIFY(f.aktiv(u"Command7"_qs));
        const QByteArray kasseIni = f.ordner.lesen(u"kasse.ini"_qs);
        f.rekorder.meldungen.clear();

        Dateidialog dialog(f.ordner.datei(u"fest.bon"_qs));
        f.klicken(u"LadenButton"_qs);
        QCOMPARE(dialog.aufrufe, 1);
        QVERIFY(dialog.modus == Dateimodus::Oeffnen);
        QCOMPARE(dialog.startordner, f.ordner.pfad());
        QCOMPARE(dialog.filter, kFilter);

        const TastenLayout &tasten = f.kasse().zustand().Tasten;
        QCOMPARE(f.tastenBeschriftung(1), u"Glühwein\n1,00"_qs);
        QCOMPARE(f.finden<KassenTaste>(u"Command2"_qs)->farbe(), QColor(255, 0, 0));
        // A layout file is read through the short buffer: 29 characters.
        QCOMPARE(tasten.ArtikelText[35], k45.left(29));
        QCOMPARE(f.tastenBeschriftung(35), k45.left(29) + u"\n35,00"_qs);
        // Key 7 loses its price and is disabled again.
        QVERIFY(tasten.ArtikelPreis[7].isEmpty());
        QCOMPARE(f.tastenBeschriftung(7), u"Artikel 7\n"_qs);
        QVERIFY(!f.aktiv(u"Command7"_qs));
        // Key 3 shows its new price but stays disabled until set-up mode.
        QCOMPARE(f.tastenBeschriftung(3), u"Artikel 3\n3,50"_qs);
        QVERIFY(!f.aktiv(u"Command3"_qs));
        QTest::qWait(120); // a few timer ticks change nothing
        QVERIFY(!f.aktiv(u"Command3"_qs));
        QCOMPARE(f.ordner.lesen(u"kasse.ini"_qs), kasseIni);
        QVERIFY(f.rekorder.meldungen.isEmpty());

        SetupModus(f);
        QVERIFY(f.aktiv(u"Command3"_qs));
        // The next key edit writes the whole loaded layout to kasse.ini.
        TasteAendern(f, 4, u"Apfelschorle"_qs);
        const QString ini = f.ordner.datei(u"kasse.ini"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke1"_qs, 40), u"Glühwein"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke4"_qs, 40), u"Apfelschorle"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke35"_qs, 40), k45.left(29));
        QCOMPARE(IniLesen(ini, u"Preise"_qs, u"Preis3"_qs, 40), u"3,50"_qs);
        QVERIFY(f.ordner.lesen(u"kasse.ini"_qs).contains("\r\nPreis7= \r\n"));
        QCOMPARE(IniLesen(ini, u"Farben"_qs, u"Farbe2"_qs, 40), u"255"_qs);
    }

    void layoutMitFehlendenTasten()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"halb.bon"_qs,
                                 {u"[Artikel]"_qs, u"Getraenke1=Cola"_qs, u"Getraenke2=Fanta"_qs,
                                  u"[Preise]"_qs, u"Preis1=2,00"_qs, u"Preis2=2,20"_qs,
                                  u"[Farben]"_qs, u"Farbe1=255"_qs, u"Farbe3=65280"_qs});
        f.starten();
        const QColor gelb(255, 255, 128);
        const QColor cyan(128, 255, 255);
        QCOMPARE(f.finden<KassenTaste>(u"Command2"_qs)->farbe(), cyan);

        Dateidialog dialog(f.ordner.datei(u"halb.bon"_qs));
        f.klicken(u"LadenButton"_qs);
        QCOMPARE(f.tastenBeschriftung(1), u"Cola\n2,00"_qs);
        QCOMPARE(f.tastenBeschriftung(2), u"Fanta\n2,20"_qs);
        for (int i = 3; i <= 35; ++i)
            QCOMPARE(f.tastenBeschriftung(i), u"Unbekannt\nUnbekannt"_qs);
        // "Unbekannt" as a price disables nothing and enables nothing.
        QVERIFY(f.aktiv(u"Command4"_qs));
        QVERIFY(!f.aktiv(u"Command7"_qs));
        // The colours stop at the first key without one.
        QCOMPARE(f.finden<KassenTaste>(u"Command1"_qs)->farbe(), QColor(255, 0, 0));
        QCOMPARE(f.finden<KassenTaste>(u"Command2"_qs)->farbe(), cyan);
        QCOMPARE(f.finden<KassenTaste>(u"Command3"_qs)->farbe(), gelb);
    }

    void layoutLadenAbbrechen()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"fest.bon"_qs, {u"[Artikel]"_qs, u"Getraenke1=Cola"_qs});
        f.starten();
        const QList<Tastenbild> vorher = Tastenbilder(f);
        const TastenLayout layout = f.kasse().zustand().Tasten;
        const QStringList eintraege = Eintraege(f.ordner);
        const QByteArray kasseIni = f.ordner.lesen(u"kasse.ini"_qs);

        Dateidialog dialog({});
        f.klicken(u"LadenButton"_qs);
        QCOMPARE(dialog.aufrufe, 1);
        QCOMPARE(Tastenbilder(f), vorher);
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelText, layout.ArtikelText);
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelPreis, layout.ArtikelPreis);
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelFarbe, layout.ArtikelFarbe);
        QCOMPARE(Eintraege(f.ordner), eintraege);
        QCOMPARE(f.ordner.lesen(u"kasse.ini"_qs), kasseIni);
    }

    void langerTextUeberlebtDasSpeichern()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        SetupModus(f);
        TasteAendern(f, 25, k45);
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelText[25], k45);

        const QString pfad = f.ordner.datei(u"salat.bon"_qs);
        {
            Dateidialog dialog(pfad);
            f.klicken(u"SpeichernButton"_qs);
        }
        QVERIFY(f.ordner.lesen(u"salat.bon"_qs).contains("\r\nGetraenke25=" + Cp1252Schreiben(k45) + "\r\n"));
        {
            Dateidialog dialog(pfad);
            f.klicken(u"LadenButton"_qs);
        }
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelText[25], k45.left(29));
    }

    void layoutdateiNichtZuSchreiben()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        QVERIFY(QDir(f.ordner.pfad()).mkpath(u"stick/fest.bon"_qs));
        f.rekorder.meldungen.clear();
        Dateidialog dialog(f.ordner.datei(u"stick/fest.bon"_qs));
        f.klicken(u"SpeichernButton"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        QVERIFY(f.rekorder.meldungen[0].text.contains(u"fest.bon"_qs));
        QCOMPARE(f.rekorder.meldungen[0].titel, u"Fehler"_qs);
        QCOMPARE(QDir(f.ordner.datei(u"stick"_qs)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"fest.bon"_qs});
    }

    void layoutdateiMitDemNamenEinerProgrammdatei()
    {
        // A layout saved as kasse.ini on a stick that fails is not the
        // program's kasse.ini: that one's own failure must still be told.
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        QVERIFY(QDir(f.ordner.pfad()).mkpath(u"stick/kasse.ini"_qs));
        f.rekorder.meldungen.clear();
        {
            Dateidialog dialog(f.ordner.datei(u"stick/kasse.ini"_qs));
            f.klicken(u"SpeichernButton"_qs);
        }
        QCOMPARE(f.rekorder.meldungen.size(), 1);

        Versperren(f.ordner, u"kasse.ini"_qs);
        SetupModus(f);
        TasteAendern(f, 1, u"Cola"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 2);
        QCOMPARE(f.rekorder.meldungen.last().text, Fehlertext(u"kasse.ini"_qs));
    }

    // ------------------------------------------- files that cannot be written

    void speicherfehlerNachDemBon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("protokoll.txt") << u"protokoll.txt"_qs;
        QTest::newRow("verkauf.ini") << u"verkauf.ini"_qs;
        QTest::newRow("Einstellungen.ini") << u"Einstellungen.ini"_qs;
    }

    void speicherfehlerNachDemBon()
    {
        QFETCH(QString, name);
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung4=1234"_qs});
        f.starten();
        Versperren(f.ordner, name);
        f.rekorder.meldungen.clear();

        // What must be on disk after n receipts of one 1,00 each.
        const auto gespeichert = [&](int bons, const QString &ausser) {
            if (ausser != u"protokoll.txt"_qs) {
                QCOMPARE(f.ordner.lesen(u"protokoll.txt"_qs), Cp1252Schreiben(f.kasse().protokollText()));
                QCOMPARE(f.ordner.lesen(u"protokoll.txt"_qs).count("\r\n"), bons);
            }
            if (ausser != u"verkauf.ini"_qs) {
                QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste1"_qs), QString::number(bons));
                QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste36"_qs), QString::number(bons));
            }
            if (ausser != u"Einstellungen.ini"_qs) {
                QCOMPARE(IniWert(f, u"Einstellungen.ini"_qs, u"Status"_qs, u"Einstellung4"_qs), u"1234"_qs);
                QCOMPARE(IniWert(f, u"Einstellungen.ini"_qs, u"Status"_qs, u"Einstellung9"_qs), u"Unbekannt"_qs);
                QVERIFY(f.ordner.lesen(u"Einstellungen.ini"_qs).contains("\r\nEinstellung9="));
            }
        };

        EinBon(f);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        QCOMPARE(f.rekorder.meldungen[0].text, Fehlertext(name));
        QCOMPARE(f.rekorder.meldungen[0].titel, u"Fehler"_qs);
        gespeichert(1, name);
        QCOMPARE(f.panel(3), u"1,00"_qs);

        // Told once while it keeps failing.
        EinBon(f);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        gespeichert(2, name);

        // Nothing was lost in the meantime.
        Freigeben(f.ordner, name);
        EinBon(f);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        gespeichert(3, {});

        // Once it worked again, a new failure is told again.
        Versperren(f.ordner, name);
        EinBon(f);
        QCOMPARE(f.rekorder.meldungen.size(), 2);
        QCOMPARE(f.rekorder.meldungen[1].text, Fehlertext(name));
        Freigeben(f.ordner, name);
        // No temporary files stay behind.
        const QStringList bekannt{u"kasse.ini"_qs, u"Einstellungen.ini"_qs, u"schnittstellen.ini"_qs,
                                  u"protokoll.txt"_qs, u"verkauf.ini"_qs};
        for (const QString &eintrag : Eintraege(f.ordner))
            QVERIFY2(bekannt.contains(eintrag) || eintrag.startsWith(u"daten.db"_qs), qPrintable(eintrag));
    }

    void speicherfehlerBeimTastenEditor()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        SetupModus(f);
        Versperren(f.ordner, u"kasse.ini"_qs);
        f.rekorder.meldungen.clear();

        TasteAendern(f, 1, u"Apfelsaft"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        QCOMPARE(f.rekorder.meldungen[0].text, Fehlertext(u"kasse.ini"_qs));
        QCOMPARE(f.rekorder.meldungen[0].titel, u"Fehler"_qs);
        // The key carries the change all the same.
        QCOMPARE(f.tastenBeschriftung(1), u"Apfelsaft\n1,00"_qs);

        TasteAendern(f, 2, u"Birnensaft"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);

        Freigeben(f.ordner, u"kasse.ini"_qs);
        TasteAendern(f, 3, u"Traubensaft"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        const QString ini = f.ordner.datei(u"kasse.ini"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke1"_qs, 40), u"Apfelsaft"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke2"_qs, 40), u"Birnensaft"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke3"_qs, 40), u"Traubensaft"_qs);
        QCOMPARE(IniLesen(ini, u"Preise"_qs, u"Preis35"_qs, 40), u"35,00"_qs);
    }

    // ------------------------------------------------------------ shutdown

    void beendenMitFehlern_data()
    {
        QTest::addColumn<QStringList>("versperrt");
        QTest::addColumn<bool>("bonVorher");
        QTest::addColumn<QString>("meldung"); // empty: none
        const QString text = u"Beim Beenden konnten diese Dateien nicht gespeichert werden: "_qs;
        QTest::newRow("alles gut") << QStringList{} << false << QString();
        QTest::newRow("protokoll.txt") << QStringList{u"protokoll.txt"_qs} << false
                                       << text + u"protokoll.txt"_qs;
        QTest::newRow("verkauf.ini") << QStringList{u"verkauf.ini"_qs} << false << text + u"verkauf.ini"_qs;
        QTest::newRow("Einstellungen.ini") << QStringList{u"Einstellungen.ini"_qs} << false
                                           << text + u"Einstellungen.ini"_qs;
        QTest::newRow("alle drei") << QStringList{u"verkauf.ini"_qs, u"protokoll.txt"_qs, u"Einstellungen.ini"_qs}
                                   << false << text + u"Einstellungen.ini, protokoll.txt, verkauf.ini"_qs;
        QTest::newRow("schon beim Bon gemeldet") << QStringList{u"protokoll.txt"_qs} << true
                                                 << text + u"protokoll.txt"_qs;
    }

    void beendenMitFehlern()
    {
        QFETCH(QStringList, versperrt);
        QFETCH(bool, bonVorher);
        QFETCH(QString, meldung);
        PseudoTerminal drucker;
        QVERIFY(drucker.offen());
        KassenFixture f;
        f.ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + drucker.geraet()});
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung4=1234"_qs, u"Einstellung6=1"_qs});
        f.starten();
        QVERIFY(f.kasse().druckerPort().PortOpen());
        QVERIFY(f.kasse().bonTabelle().offen());
        f.klicken(u"Command2"_qs);
        if (bonVorher) {
            f.klicken(u"IstgleichTaste"_qs);
            f.klicken(u"Command2"_qs);
        }
        for (const QString &name : versperrt)
            Versperren(f.ordner, name);
        f.rekorder.meldungen.clear();
        if (bonVorher) {
            f.klicken(u"IstgleichTaste"_qs);
            QCOMPARE(f.rekorder.texte(), QStringList{Fehlertext(u"protokoll.txt"_qs)});
            f.rekorder.meldungen.clear();
            f.klicken(u"Command3"_qs);
        }
        const QString protokoll = f.kasse().protokollText();

        QSignalSpy beendet(&f.kasse(), &Kasse::beendet);
        f.schliessen();
        QCOMPARE(f.rekorder.texte(), meldung.isEmpty() ? QStringList{} : QStringList{meldung});
        if (!meldung.isEmpty())
            QCOMPARE(f.rekorder.meldungen[0].titel, u"Fehler"_qs);
        QCOMPARE(beendet.count(), 1);
        QVERIFY(!f.kasse().druckerPort().PortOpen());
        QVERIFY(!f.kasse().bonTabelle().offen());

        // The other files are written all the same.
        const Cent einnahme = bonVorher ? 400 : 0;
        if (!versperrt.contains(u"protokoll.txt"_qs))
            QCOMPARE(f.ordner.lesen(u"protokoll.txt"_qs), Cp1252Schreiben(protokoll));
        if (!versperrt.contains(u"verkauf.ini"_qs))
            QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste36"_qs),
                     QString::number(einnahme / 100));
        if (!versperrt.contains(u"Einstellungen.ini"_qs)) {
            QCOMPARE(IniWert(f, u"Einstellungen.ini"_qs, u"Status"_qs, u"Einstellung1"_qs), u"1"_qs);
            QCOMPARE(IniWert(f, u"Einstellungen.ini"_qs, u"Status"_qs, u"Einstellung4"_qs), u"1234"_qs);
        }
        for (const QString &name : versperrt)
            QVERIFY(QFileInfo(f.ordner.datei(name)).isDir());

        // Closing again changes nothing.
        f.schliessen();
        QCOMPARE(beendet.count(), 1);
        QCOMPARE(f.rekorder.meldungen.size(), meldung.isEmpty() ? 0 : 1);
    }

    void nullgestellteZahlenBeimBeenden()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        QStringList verkauf{u"[verkauft]"_qs};
        for (int i = 1; i <= 36; ++i)
            verkauf << u"Taste%1=%2"_qs.arg(i).arg(i == 36 ? u"12,5"_qs : QString::number(i % 4));
        f.ordner.schreibenZeilen(u"verkauf.ini"_qs, verkauf);
        f.starten();
        QCOMPARE(f.panel(3), u"12,50"_qs);

        // The function row shows on a tap on the amount line; it works
        // only in set-up mode.
        QTest::mouseClick(f.finden<QLabel>(u"Label1_1"_qs), Qt::LeftButton);
        QVERIFY(f.sichtbar(u"Command104"_qs));
        QVERIFY(!f.aktiv(u"Command104"_qs));
        f.einstellen();
        QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command104"_qs), 1000);
        f.klicken(u"Command104"_qs);
        QCOMPARE(f.panel(3), u"0,00"_qs);
        // Clearing touches memory only.
        QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste36"_qs), u"12,5"_qs);

        f.schliessen();
        QStringList null{u"[verkauft]"_qs};
        for (int i = 1; i <= 36; ++i)
            null << u"Taste%1=0"_qs.arg(i);
        QCOMPARE(f.ordner.lesen(u"verkauf.ini"_qs), Datei(null));
        QVERIFY(f.rekorder.meldungen.size() == 1); // the missing printer at start-up
    }
};

QTEST_MAIN(TestKasseDateien)
#include "test_kasse_dateien.moc"
