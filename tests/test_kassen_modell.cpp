// The register's rules without any window: the model is driven as the window
// drives it (one call per tap) and judged by its state, its signals, the
// open receipt and the files. Links no widget library.
#include "core/bon_zeile.h"
#include "core/text_helfer.h"
#include "model/kassen_modell.h"
#include "model/protokoll.h"
#include "model/tasten_ansicht.h"
#include "persistence/abschluss.h"
#include "persistence/bon_tabelle.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"
#include "support/pseudo_terminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace zanti;

namespace {

// COM 1 to 16 name devices that do not exist, so no start opens a real line.
void OhneDrucker(const QString &ordner)
{
    QFile f(QDir(ordner).filePath(u"schnittstellen.ini"_qs));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[COM]\r\n");
    for (int i = 1; i <= 16; ++i)
        f.write(QStringLiteral("COM%1=%2/kein-geraet-%1\r\n").arg(i).arg(ordner).toUtf8());
}

const QString kEingabeFehler = QStringLiteral("Ungültige Eingabe. Bitte versuchen Sie es noch einmal!");
const QString kTischFehler = QStringLiteral("Ungültige Tischnummer. Bitte versuchen Sie es noch einmal!");

// A model in a fresh program folder without a printer; key k sells
// "Artikel k" at k,00, key 7 has a price that is no number.
struct Aufbau
{
    QTemporaryDir ordner;
    DruckerPort port;
    KassenModell m{ordner.path(), port};
    KassenZustand &z = m.zustand();
    QMap<KassenModell::Anzeigefeld, QString> anzeige;
    QMap<KassenModell::Knopf, bool> knoepfe;
    QStringList meldungen;
    int tischErfragt = 0;

    // vorStart lays out files of the folder before the model starts.
    explicit Aufbau(const std::function<void(const QDir &)> &vorStart = {})
    {
        OhneDrucker(ordner.path());
        if (vorStart)
            vorStart(QDir(ordner.path()));
        m.startBeginnen();
        m.startBeenden();
        QObject::connect(&m, &KassenModell::anzeigeSetzen,
                         [this](KassenModell::Anzeigefeld f, const QString &t) { anzeige[f] = t; });
        QObject::connect(&m, &KassenModell::knopfFreigeben,
                         [this](KassenModell::Knopf k, bool a) { knoepfe[k] = a; });
        QObject::connect(&m, &KassenModell::meldung,
                         [this](const QString &text, const QString &) { meldungen << text; });
        QObject::connect(&m, &KassenModell::tischnummerErfragen, [this] { ++tischErfragt; });
        for (int k = 1; k <= kArtikelTasten; ++k) {
            z.Tasten.ArtikelText[k] = u"Artikel "_qs + QString::number(k);
            z.Tasten.ArtikelPreis[k] = QString::number(k) + u",00"_qs;
        }
        z.Tasten.ArtikelPreis[7] = u"Unbekannt"_qs;
    }

    QByteArray datei(const QString &name) const
    {
        QFile f(ordner.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Quantity digits and keys: "3 k5 k2" is quantity 3, key 5, key 2.
    void tippen(const QString &folge)
    {
        for (const QString &t : folge.split(u' ', Qt::SkipEmptyParts)) {
            if (t.startsWith(u'k'))
                m.ArtikelTaste(t.mid(1).toInt());
            else if (t == u"C")
                m.MengeLoeschen();
            else if (t == u"0")
                m.MengeNull();
            else
                m.MengenZiffer(t.toInt());
        }
    }
};

// Line nr of the protocol without its time: "2 3 x Artikel 3   9,00".
QString OhneZeit(const QString &zeile)
{
    return zeile.left(zeile.indexOf(u' ')) + zeile.mid(zeile.indexOf(u' ') + 10);
}

} // namespace

class TestKassenModell : public QObject
{
    Q_OBJECT

private slots:
    void menge_data()
    {
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("anzahl");
        QTest::newRow("none is one") << "k3" << "1";
        QTest::newRow("one digit") << "4 k3" << "4";
        QTest::newRow("second digit does not append") << "2 3 k3" << "2";
        QTest::newRow("ten") << "1 0 k3" << "10";
        QTest::newRow("no hundred") << "1 0 0 k3" << "10";
        QTest::newRow("zero alone is none") << "0 k3" << "1";
        QTest::newRow("cleared") << "5 C k3" << "1";
        QTest::newRow("no digit after ten") << "1 0 7 k3" << "10";
        QTest::newRow("zero after two") << "2 0 k3" << "2";
    }
    void menge()
    {
        QFETCH(QString, tasten);
        QFETCH(QString, anzahl);
        Aufbau a;
        a.tippen(tasten);
        const BonZeile zeile = a.m.bonTabelle().zeilen().value(0);
        QCOMPARE(zeile.Anzahl, anzahl);
        QCOMPARE(zeile.Preis, BetragFormat(300 * anzahl.toInt()));
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Menge], anzahl);
        // The next key starts without a quantity.
        QCOMPARE(a.z.Anzahl_Eingabe, u"0"_qs);
    }

    void buchen()
    {
        Aufbau a;
        a.tippen(u"3 k2 k7"_qs);
        // Key 7 has no price: nothing booked, the quantity is gone all the same.
        QCOMPARE(a.meldungen, QStringList{u"Diese Taste hat keinen gültigen Preis."_qs});
        QCOMPARE(a.m.bonTabelle().anzahl(), 1);
        QCOMPARE(a.z.Anzahl_Eingabe, u"0"_qs);
        QCOMPARE(a.z.Zaehler, 1);
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Text], u"Artikel 2"_qs);
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Betrag], u"6,00"_qs);
        QCOMPARE(a.knoepfe[KassenModell::Knopf::Istgleich], true);
        QCOMPARE(a.knoepfe[KassenModell::Knopf::Gegeben], false);
        QCOMPARE(OhneZeit(a.m.protokoll().zeile(0)), u"0 3 x Artikel 2   6,00"_qs);

        // In set-up mode a key is edited, not sold.
        int editor = -1;
        QObject::connect(&a.m, &KassenModell::tastenEditor, [&editor](int k) { editor = k; });
        QVERIFY(a.m.KennwortPruefen(a.z.Einstellung.Passwort));
        a.tippen(u"k4"_qs);
        QCOMPARE(editor, 4);
        QCOMPARE(a.m.bonTabelle().anzahl(), 1);
    }

    void abschliessen()
    {
        Aufbau a;
        a.tippen(u"2 k1 k1 k3"_qs);
        a.m.BonAbschliessen();
        QCOMPARE(a.m.bonTabelle().anzahl(), 0);
        QCOMPARE(a.z.Verkauft[1], Cent(300)); // units in hundredths
        QCOMPARE(a.z.Verkauft[3], Cent(100));
        QCOMPARE(a.z.Verkauft[36], Cent(600));
        QCOMPARE(a.z.Gesamteinnahme, Cent(600));
        QCOMPARE(a.z.G_Summe, Cent(600));
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Text], u"GESAMT"_qs);
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Betrag], u"6,00"_qs);
        QCOMPARE(a.knoepfe[KassenModell::Knopf::Gegeben], true);
        QCOMPARE(a.knoepfe[KassenModell::Knopf::Istgleich], false);
        QVERIFY(a.datei(u"verkauf.ini"_qs).contains("Taste1=3\r\n"));
        QVERIFY(a.datei(u"verkauf.ini"_qs).contains("Taste36=6\r\n"));
        QCOMPARE(a.datei(u"protokoll.txt"_qs), a.m.protokoll().bytes());
        QCOMPARE(a.m.protokoll().zeilen(), 3);

        // The next receipt adds to the counts; its lines go on top of the file.
        a.tippen(u"k1"_qs);
        a.m.BonAbschliessen();
        QCOMPARE(a.z.Verkauft[1], Cent(400));
        QCOMPARE(a.z.Gesamteinnahme, Cent(700));
        QCOMPARE(a.z.G_Summe, Cent(100));
        QCOMPARE(OhneZeit(a.m.protokoll().zeile(0)), u"3 1 x Artikel 1   1,00"_qs);
        QCOMPARE(a.datei(u"protokoll.txt"_qs), a.m.protokoll().bytes());
        QVERIFY(a.m.bonTabelle().offeneAbschluesse().isEmpty());
    }

    void storno()
    {
        Aufbau a;
        a.tippen(u"k1 2 k2"_qs);
        QVERIFY(!a.m.Storno(2));
        QVERIFY(a.m.Storno(1));
        QCOMPARE(a.m.bonTabelle().anzahl(), 1);
        // The void carries the number of the line it takes back.
        QCOMPARE(OhneZeit(a.m.protokoll().zeile(0)), u"1 2 x Artikel 2   -4,00 Storno"_qs);
        QCOMPARE(a.z.Zaehler, 2);
        a.m.BonAbschliessen();
        QCOMPARE(a.z.Verkauft[2], Cent(0));
        QCOMPARE(a.z.Gesamteinnahme, Cent(100));
    }

    void rueckgeld_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<Cent>("summe");
        QTest::addColumn<QString>("zurueck");
        QTest::newRow("typed 10") << "10" << Cent(750) << "2,50";
        QTest::newRow("below is the total") << "5" << Cent(750) << "0,00";
        QTest::newRow("nothing typed") << "" << Cent(750) << "0,00";
        QTest::newRow("one cent over") << "7,51" << Cent(750) << "0,01";
        QTest::newRow("cents exact") << "10,01" << Cent(999) << "0,02";
        QTest::newRow("trailing comma") << "50," << Cent(1234) << "37,66";
        QTest::newRow("hundreds") << "1000" << Cent(1) << "999,99";
        QTest::newRow("large total") << "1000" << Cent(123456) << "0,00";
    }
    void rueckgeld()
    {
        QFETCH(QString, eingabe);
        QFETCH(Cent, summe);
        QFETCH(QString, zurueck);
        Aufbau a;
        a.z.G_Summe = summe;
        a.z.Einstellung.TischnummerAnzeige = true; // an amount given is one, table numbers or not
        a.m.GegebenTaste();
        QVERIFY(a.m.EingabeUebernehmen(eingabe));
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Text], u"ZURÜCK"_qs);
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Betrag], zurueck);
        QCOMPARE(a.knoepfe[KassenModell::Knopf::Gegeben], false);
        QCOMPARE(a.z.Gegeben, false);
        QCOMPARE(a.z.Tischnummer, 0);
        QVERIFY(a.meldungen.isEmpty());
    }

    void rueckgeldKeineZahl()
    {
        Aufbau a;
        a.z.G_Summe = 750;
        a.m.GegebenTaste();
        QVERIFY(!a.m.EingabeUebernehmen(u"1,,2"_qs));
        QCOMPARE(a.meldungen, QStringList{kEingabeFehler});
        QCOMPARE(a.z.Gegeben, true);
        QVERIFY(a.anzeige.isEmpty());
        // Given up (the keypad closed): the next "OK" is no amount given.
        a.m.EingabeAbgebrochen();
        a.z.Einstellung.TischnummerAnzeige = true;
        QVERIFY(a.m.EingabeUebernehmen(u"12"_qs));
        QCOMPARE(a.z.Tischnummer, 12);
    }

    void tischnummer_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<int>("tisch");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("12") << "12" << 12 << "";
        QTest::newRow("12,5 to even") << "12,5" << 12 << "";
        QTest::newRow("13,5 to even") << "13,5" << 14 << "";
        QTest::newRow("12,6 up") << "12,6" << 13 << "";
        QTest::newRow("trailing comma") << "7," << 7 << "";
        QTest::newRow("0,5 passes as 0") << "0,5" << 0 << "";
        QTest::newRow("largest") << "32767" << 32767 << "";
        QTest::newRow("nothing") << "" << -1 << kTischFehler;
        QTest::newRow("zero") << "0" << -1 << kTischFehler;
        QTest::newRow("zero comma") << "0," << -1 << kTischFehler;
        QTest::newRow("above 16 bits") << "32768" << -1 << kTischFehler;
        QTest::newRow("far above") << "99999999" << -1 << kTischFehler;
        QTest::newRow("0,,") << "0,," << -1 << kEingabeFehler;
        QTest::newRow("two commas") << "1,,2" << -1 << kEingabeFehler;
    }
    void tischnummer()
    {
        QFETCH(QString, eingabe);
        QFETCH(int, tisch);
        QFETCH(QString, meldung);
        Aufbau a;
        a.z.Einstellung.TischnummerAnzeige = true;
        // The first key asks for the table and books nothing.
        a.tippen(u"k2"_qs);
        QCOMPARE(a.tischErfragt, 1);
        QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Text], u"TISCHNUMMER"_qs);
        QCOMPARE(a.m.bonTabelle().anzahl(), 0);

        a.z.Tischnummer = -1;
        QCOMPARE(a.m.EingabeUebernehmen(eingabe), meldung.isEmpty());
        QCOMPARE(a.z.Tischnummer, tisch);
        QCOMPARE(a.meldungen, meldung.isEmpty() ? QStringList() : QStringList{meldung});
        if (meldung.isEmpty())
            QCOMPARE(a.anzeige[KassenModell::Anzeigefeld::Betrag], eingabe);
    }

    void tischnummerBisZumAbschluss()
    {
        Aufbau a;
        a.z.Einstellung.TischnummerAnzeige = true;
        a.tippen(u"k2"_qs);
        QVERIFY(a.m.EingabeUebernehmen(u"5"_qs));
        a.tippen(u"k2"_qs);
        QCOMPARE(a.m.bonTabelle().anzahl(), 1);
        a.m.BonAbschliessen();
        // Each receipt asks again.
        QCOMPARE(a.z.Tischnummer, 0);
    }

    void kennwort()
    {
        Aufbau a;
        a.z.Einstellung.Passwort = u"Ab12"_qs;
        QVERIFY(!a.m.KennwortPruefen(u"ab12"_qs));
        QVERIFY(!a.m.KennwortPruefen(QString()));
        QCOMPARE(a.z.Einstellmodus, false);
        QVERIFY(a.m.KennwortPruefen(u"Ab12"_qs));
        QCOMPARE(a.z.Einstellmodus, true);
    }

    // What the printer reports shows in panel 8.
    void druckerstatus_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QString>("panel8");
        QTest::newRow("bereit") << QByteArray("\x14\0\0\0", 4) << u"Drucker bereit "_qs;
        QTest::newRow("Schublade") << QByteArray("\x10") << u"Schublade offen "_qs;
        QTest::newRow("Papier") << QByteArray("\x1c") << u" Papier ? "_qs;
        QTest::newRow("Deckel") << QByteArray("\x3c") << u" Fehler "_qs;
        QTest::newRow("Feedtaste") << QByteArray("\x5c") << u" Feedtaste "_qs;
        QTest::newRow("unbekannt") << QByteArray("\x12") << u"18"_qs;
        QTest::newRow("zwei auf einmal: nur der erste zaehlt") << QByteArray("\x14\x1c")
                                                                << u"Drucker bereit "_qs;
    }
    void druckerstatus()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(QString, panel8);
        test::PseudoTerminal drucker;
        QVERIFY(drucker.offen());
        // COM 1 is the pseudo-terminal, and setting 6 names it.
        Aufbau a([&drucker](const QDir &ordner) {
            QFile com(ordner.filePath(u"schnittstellen.ini"_qs));
            QVERIFY(com.open(QIODevice::WriteOnly));
            com.write("[COM]\r\nCOM1=" + drucker.geraet().toUtf8() + "\r\n");
            QFile status(ordner.filePath(u"Einstellungen.ini"_qs));
            QVERIFY(status.open(QIODevice::WriteOnly));
            status.write("[Status]\r\nEinstellung6=1\r\n");
        });
        QVERIFY(a.z.Einstellung.DruckerEin);
        QStringList gezeigt;
        QObject::connect(&a.m, &KassenModell::statusSetzen, [&gezeigt](int panel, const QString &text) {
            if (panel == 8)
                gezeigt << text;
        });
        drucker.senden(antwort);
        QTRY_VERIFY_WITH_TIMEOUT((a.m.DruckerStatusLesen(), !gezeigt.isEmpty()), 2000);
        QCOMPARE(gezeigt.first(), panel8);
    }

    // A key whose price is no number books nothing and says so once.
    void preisOhneZahl_data()
    {
        QTest::addColumn<QString>("preis");
        QTest::newRow("Leerzeichen") << u"  "_qs;
        QTest::newRow("Text") << u"zwei Euro"_qs;
        QTest::newRow("Unbekannt") << u"Unbekannt"_qs;
        QTest::newRow("zu gross zum Rechnen") << u"999999999999999"_qs;
    }
    void preisOhneZahl()
    {
        QFETCH(QString, preis);
        Aufbau a;
        a.z.Tasten.ArtikelPreis[1] = preis;
        a.tippen(u"2 k1"_qs);
        QCOMPARE(a.m.bonTabelle().anzahl(), 0);
        QCOMPARE(a.meldungen, QStringList{u"Diese Taste hat keinen gültigen Preis."_qs});
        QCOMPARE(a.z.Anzahl_Eingabe, u"0"_qs);
        QCOMPARE(a.z.Zaehler, 0);
        QCOMPARE(a.m.protokoll().zeilen(), 0);
    }

    // The window follows the mode once per change, F12 and HOME alike.
    void einstellmodusAngesagt()
    {
        Aufbau a;
        QList<bool> modi;
        QStringList panel4;
        int tasten = 0;
        QObject::connect(&a.m, &KassenModell::einstellmodusGeaendert, [&](bool ein) { modi << ein; });
        QObject::connect(&a.m, &KassenModell::tastenGeaendert, [&] { ++tasten; });
        QObject::connect(&a.m, &KassenModell::statusSetzen, [&](int panel, const QString &text) {
            if (panel == 4)
                panel4 << text;
        });
        a.m.EinstellmodusVerlassen();
        QVERIFY(a.m.KennwortPruefen(a.z.Einstellung.Passwort));
        QVERIFY(a.m.KennwortPruefen(a.z.Einstellung.Passwort));
        a.m.EinstellmodusVerlassen();
        a.m.EinstellmodusVerlassen();
        QCOMPARE(modi, QList<bool>({true, false}));
        QCOMPARE(panel4, QStringList({u"Einstellen"_qs, u"F1 - Tastenhilfe"_qs}));
        QCOMPARE(tasten, 2);
        // A key edited or a layout loaded is announced too.
        a.m.TasteAendern(1, u"Cola"_qs, u"2"_qs, {});
        a.m.TastenLadenAus(a.ordner.filePath(u"kasse.ini"_qs));
        QCOMPARE(tasten, 4);
    }

    void tastenAnsicht_data()
    {
        QTest::addColumn<QString>("preis");
        QTest::addColumn<QString>("farbe");
        QTest::addColumn<bool>("einstellmodus");
        QTest::addColumn<int>("aktiv"); // -1: unchanged
        QTest::addColumn<bool>("gefaerbt");
        QTest::newRow("mit Preis") << u"2,00"_qs << u"255"_qs << false << -1 << true;
        QTest::newRow("ohne Preis gesperrt") << QString() << u"255"_qs << false << 0 << true;
        QTest::newRow("Einstellmodus gibt frei") << QString() << u"255"_qs << true << 1 << true;
        QTest::newRow("Preis keine Zahl bleibt") << u"Unbekannt"_qs << u"255"_qs << false << -1 << true;
        QTest::newRow("Farbe keine Zahl") << u"2,00"_qs << u"rot"_qs << false << -1 << false;
        QTest::newRow("Farbe zu gross") << u"2,00"_qs << u"4294967296"_qs << false << -1 << false;
    }

    // Key 2 as given between keys 1 and 3 with price and colour.
    void tastenAnsicht()
    {
        QFETCH(QString, preis);
        QFETCH(QString, farbe);
        QFETCH(bool, einstellmodus);
        QFETCH(int, aktiv);
        QFETCH(bool, gefaerbt);
        TastenLayout layout;
        for (int k = 1; k <= kArtikelTasten; ++k) {
            layout.ArtikelText[k] = u"T"_qs;
            layout.ArtikelPreis[k] = u"1,00"_qs;
            layout.ArtikelFarbe[k] = u"65280"_qs;
        }
        layout.ArtikelPreis[2] = preis;
        layout.ArtikelFarbe[2] = farbe;
        const JeTaste<TastenAnsicht> ansicht = ArtikelTastenAnsicht(layout, einstellmodus);
        QCOMPARE(ansicht[2].beschriftung, u"T\n"_qs + preis);
        QCOMPARE(ansicht[2].aktiv.has_value(), aktiv >= 0);
        if (aktiv >= 0)
            QCOMPARE(*ansicht[2].aktiv, aktiv == 1);
        QCOMPARE(ansicht[1].farbe, std::optional<qint64>(65280));
        QCOMPARE(ansicht[2].farbe.has_value(), gefaerbt);
        // A colour that is no number stops the colouring there.
        QCOMPARE(ansicht[3].farbe.has_value(), gefaerbt);
    }

    // The port dialog's entry; -1: no port number, the port stays.
    void portEingabe_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("feldDanach");
        QTest::newRow("Zahl") << u"5"_qs << 5 << u"5"_qs;
        QTest::newRow("leer heisst 1") << QString() << 1 << u"1"_qs;
        QTest::newRow("nur Blanks heisst 1") << u"  "_qs << 1 << u"1"_qs;
        QTest::newRow("über 16 wird 16") << u"20"_qs << 16 << u"16"_qs;
        QTest::newRow("16 bleibt") << u"16"_qs << 16 << u"16"_qs;
        QTest::newRow("Blanks um die Zahl") << u" 7 "_qs << 7 << u" 7 "_qs;
        QTest::newRow("halb auf gerade abgerundet") << u"4,5"_qs << 4 << u"4,5"_qs;
        QTest::newRow("halb auf gerade aufgerundet") << u"3,5"_qs << 4 << u"3,5"_qs;
        QTest::newRow("Punkt als Komma") << u"5.6"_qs << 6 << u"5.6"_qs;
        QTest::newRow("Buchstaben") << u"abc"_qs << -1 << u"abc"_qs;
        QTest::newRow("Zahl mit Buchstaben") << u"3a"_qs << -1 << u"3a"_qs;
        QTest::newRow("zwei Kommas") << u"1,2,3"_qs << -1 << u"1,2,3"_qs;
        QTest::newRow("null") << u"0"_qs << -1 << u"0"_qs;
        QTest::newRow("negativ") << u"-3"_qs << -1 << u"-3"_qs;
        QTest::newRow("unter 1 gerundet") << u"0,4"_qs << -1 << u"0,4"_qs;
    }
    void portEingabe()
    {
        QFETCH(QString, eingabe);
        QFETCH(int, port);
        QFETCH(QString, feldDanach);
        QString text = eingabe;
        const std::optional<int> nummer = DruckerDienst::PortEingabe(text);
        QCOMPARE(nummer.value_or(-1), port);
        QCOMPARE(text, feldDanach);
    }

    // The head lines and logo number from the dialog; -1: refused.
    void bonkopf_data()
    {
        QTest::addColumn<QString>("logo");
        QTest::addColumn<int>("nummer");
        QTest::newRow("Zahl") << u"7"_qs << 7;
        QTest::newRow("leer heisst 0") << QString() << 0;
        QTest::newRow("halb auf gerade") << u"2,5"_qs << 2;
        QTest::newRow("schlecht: Buchstaben") << u"A"_qs << -1;
        QTest::newRow("schlecht: Zahl mit Text") << u"2b"_qs << -1;
        QTest::newRow("schlecht: zu gross") << u"40000"_qs << -1;
        QTest::newRow("schlecht: nur Blanks") << u"  "_qs << -1;
    }
    void bonkopf()
    {
        QFETCH(QString, logo);
        QFETCH(int, nummer);
        Aufbau a;
        a.z.Einstellung.BonImageNr = 1;
        const Kopfzeilen alt = a.m.BonkopfLesen();
        Kopfzeilen neu = alt;
        neu[1] = u"TSV"_qs;
        neu[2].clear();
        const std::optional<QString> fehler = a.m.BonkopfUebernehmen(neu, logo);
        if (nummer < 0) {
            QCOMPARE(fehler, std::optional<QString>(u"Bitte nur Zahlen eingeben."_qs));
            QCOMPARE(a.z.Einstellung.BonImageNr, 1);
            QCOMPARE(a.z.Kopfzeile, alt);
            QVERIFY(a.datei(u"bonkopf.ini"_qs).isEmpty());
            return;
        }
        QCOMPARE(fehler, std::nullopt);
        QCOMPARE(a.z.Einstellung.BonImageNr, nummer);
        QCOMPARE(a.z.Kopfzeile[1], u"TSV"_qs);
        QCOMPARE(a.z.Kopfzeile[2], u" "_qs); // an empty line is kept as one blank
        QVERIFY(a.datei(u"bonkopf.ini"_qs).contains("Titel1=TSV\r\nTitel2= \r\n"));
    }

    void schalterNurImEinstellmodus()
    {
        Aufbau a;
        a.tippen(u"k1"_qs);
        a.m.BonAbschliessen();
        a.m.EinzelbonUmschalten();
        a.m.TischnummerUmschalten();
        a.m.ProtokollLoeschen();
        a.m.VerkaufszahlenLoeschen();
        QVERIFY(!a.z.Einstellung.Einzelbon);
        QVERIFY(!a.z.Einstellung.TischnummerAnzeige);
        QCOMPARE(a.m.protokoll().zeilen(), 1);
        QCOMPARE(a.z.Gesamteinnahme, Cent(100));
        // The salad key switches in any mode.
        a.m.SalatUmschalten();
        QCOMPARE(a.m.SalatBeschriftung(), u"Taste25 Salat = 1"_qs);

        QVERIFY(a.m.KennwortPruefen(a.z.Einstellung.Passwort));
        a.m.EinzelbonUmschalten();
        a.m.TischnummerUmschalten();
        a.m.ProtokollLoeschen();
        a.m.VerkaufszahlenLoeschen();
        QVERIFY(a.z.Einstellung.Einzelbon);
        QVERIFY(a.z.Einstellung.TischnummerAnzeige);
        QCOMPARE(a.m.protokoll().zeilen(), 0);
        QCOMPARE(a.z.Verkauft[1], Cent(0));
        QCOMPARE(a.z.Gesamteinnahme, Cent(0));
        // A cleared protocol is written whole at the next save.
        QVERIFY(a.m.VerkaufSpeichern());
        QCOMPARE(a.datei(u"protokoll.txt"_qs), QByteArray());
    }

    void protokollFehlt()
    {
        // Missing, or a folder in its place: the protocol starts empty.
        Aufbau a;
        QCOMPARE(a.z.Zaehler, 0);
        QCOMPARE(a.m.protokoll().zeilen(), 0);
        Aufbau b([](const QDir &ordner) { QVERIFY(ordner.mkdir(u"protokoll.txt"_qs)); });
        QCOMPARE(b.z.Zaehler, 0);
        QCOMPARE(b.m.protokoll().zeilen(), 0);
    }

    // A season's protocol is read on another core while the window builds
    // itself: the model ends up with what reading it at once gives, line
    // ends mended included.
    void grossesProtokollBeimStart()
    {
        QByteArray sauber;
        for (int i = 20000; i > 0; --i)
            sauber += "Zeile " + QByteArray::number(i) + " mit einem Text dahinter\r\n";
        QByteArray datei = sauber;
        datei.remove(datei.indexOf("\r\n", datei.size() / 2), 1);
        QTemporaryDir ordner;
        QFile f(ordner.filePath(u"protokoll.txt"_qs));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(datei) == datei.size());
        f.close();
        QVERIFY(datei.size() > 512 * 1024);

        DruckerPort port;
        KassenModell m(ordner.path(), port);
        OhneDrucker(ordner.path());
        m.startBeginnen();
        m.startBeenden();
        QCOMPARE(m.zustand().Zaehler, 20000);
        QCOMPARE(m.protokoll().bytes(), sauber);
        QCOMPARE(m.protokoll().zeile(0), u"Zeile 20000 mit einem Text dahinter"_qs);
        QCOMPARE(m.protokoll().zeile(19999), u"Zeile 1 mit einem Text dahinter"_qs);
    }

    void protokollDaten_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray() << QStringList() << QByteArray();
        QTest::newRow("CR LF") << QByteArray("b\r\na\r\n") << QStringList{u"b"_qs, u"a"_qs}
                               << QByteArray("b\r\na\r\n");
        QTest::newRow("lone LF and CR") << QByteArray("c\nb\ra") << QStringList{u"c"_qs, u"b"_qs, u"a"_qs}
                                        << QByteArray("c\r\nb\r\na\r\n");
        QTest::newRow("lone CR among CR LF") << QByteArray("b\r\na\rz\r\n")
                                             << QStringList{u"b"_qs, u"a"_qs, u"z"_qs}
                                             << QByteArray("b\r\na\r\nz\r\n");
        QTest::newRow("empty lines count") << QByteArray("\r\n\nx") << QStringList{u""_qs, u""_qs, u"x"_qs}
                                           << QByteArray("\r\n\r\nx\r\n");
        QTest::newRow("Windows-1252") << QByteArray("\x80 \xe4\r\n") << QStringList{u"€ ä"_qs}
                                      << QByteArray("\x80 \xe4\r\n");
    }
    void protokollDaten()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, zeilen);
        QFETCH(QByteArray, bytes);
        Protokoll p;
        QCOMPARE(p.laden(datei), qint32(zeilen.size()));
        QCOMPARE(p.bytes(), bytes);
        QStringList gelesen;
        for (int i = 0; i < p.zeilen(); ++i)
            gelesen << p.index(i).data().toString();
        QCOMPARE(gelesen, zeilen);
        QCOMPARE(Cp1252Schreiben(p.text()), bytes);

        // A new line goes on top; the redo record carries only it.
        p.zeileVoranstellen(u"n €\r\n"_qs);
        QCOMPARE(p.zeile(0), u"n €"_qs);
        QCOMPARE(p.zeile(p.zeilen() - 1), zeilen.isEmpty() ? u"n €"_qs : zeilen.last());
        QCOMPARE(p.bytes(), QByteArray("n \x80\r\n") + bytes);
        Abschluss a;
        p.abschlussFuellen(a);
        QCOMPARE(a.protokollKopf, QByteArray("n \x80\r\n"));
        QVERIFY(!a.protokollErsetzen);
        p.gespeichert();
        p.abschlussFuellen(a);
        QCOMPARE(a.protokollKopf, QByteArray());

        // After a clearing the record carries the whole file.
        p.leeren();
        p.zeileVoranstellen(u"m\r\n"_qs);
        p.abschlussFuellen(a);
        QVERIFY(a.protokollErsetzen);
        QCOMPARE(a.protokollKopf, QByteArray("m\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestKassenModell)
#include "test_kassen_modell.moc"
