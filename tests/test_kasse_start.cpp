// Start-up of the register window from the files of its program folder.
#include "core/text_helfer.h"
#include "persistence/bon_tabelle.h"
#include "register/kassen_taste.h"
#include "support/kassen_fixture.h"

#include <QDir>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

class TestKasseStart : public QObject
{
    Q_OBJECT

private slots:
    void ersterStartOhneDateien()
    {
        KassenFixture f;
        f.starten();
        for (int i = 1; i <= 35; ++i) {
            QCOMPARE(f.tastenBeschriftung(i), u"Unbekannt\nUnbekannt"_qs);
            QVERIFY(f.aktiv(u"Command"_qs + QString::number(i)));
        }
        QCOMPARE(f.panel(3), u"0,00"_qs);
        QCOMPARE(f.panel(4), u"F1 - Tastenhilfe"_qs);
        QCOMPARE(f.panel(5), u"F2 - Drucker aus"_qs);
        QCOMPARE(f.panel(6), u"F3 - Einzelbon aus"_qs);
        QCOMPARE(f.panel(7), u"F4 - Tischnr. aus"_qs);
        QCOMPARE(f.rekorder.ersteZeilen(),
                 QStringList{u"Schnittstelle an COM Unbekannt kann nicht geöffnet werden!"_qs});
        QCOMPARE(f.finden<KassenTaste>(u"Command106"_qs)->beschriftung(), u"Com Unbekannt"_qs);
        QCOMPARE(f.text(u"Label6"_qs), u" Zanti V 3.3.18 / Zantissen Software für Vereine "_qs);
        QCOMPARE(f.kasse().windowTitle(), u"Zanti 2016"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"0.00"_qs);
        QCOMPARE(f.kasse().zustand().Zaehler, 0);
        QCOMPARE(f.kasse().zustand().Anzahl_Eingabe, u"0"_qs);
        QVERIFY(!f.kasse().zustand().Einstellung.DruckerEin);
        QVERIFY(f.ordner.gibt(u"daten.db"_qs));
        // The function row is hidden, and "=" and "STO" wait for a booking.
        QVERIFY(!f.sichtbar(u"Command100"_qs));
        QVERIFY(!f.aktiv(u"IstgleichTaste"_qs));
        QVERIFY(!f.aktiv(u"Storno"_qs));

        const QStringList verlauf{
            u"Start"_qs, u"Dateipfade ok"_qs, u"Variablen OK"_qs, u"F Button aus"_qs,
            u"Protokolldatei gelesen"_qs, u"Tasten gelesen"_qs, u"Verkaufszahlen gelesen"_qs,
            u"Bonkopf gelesen"_qs, u"Einstellungen gelesen"_qs, u"Statusbar beschrieben"_qs,
            u"Buttons beschrieben"_qs, u"Einstellungen übergeben"_qs, u"Schnittstelle geprüft"_qs,
            u"Drucker eingestellt"_qs, u"Datenbank definiert"_qs, u"Datenbank eingestellt"_qs,
            u"Schnittstelle geprüft"_qs};
        QCOMPARE(f.kasse().startVerlauf(), verlauf);
        QVERIFY(!f.kasse().findChild<QWidget *>(u"Start"_qs));
    }

    void zweitesProgramm()
    {
        KassenFixture f;
        f.starten({3, 3, 19, u"Zanti 2017"_qs});
        QCOMPARE(f.kasse().windowTitle(), u"Zanti 2017"_qs);
        QCOMPARE(f.text(u"Label6"_qs), u" Zanti V 3.3.19 / Zantissen Software für Vereine "_qs);
    }

    void dateienWerdenGelesen()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"verkauf.ini"_qs, {u"[verkauft]"_qs, u"Taste3=4"_qs, u"Taste36=123,5"_qs});
        f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs,
                                 {u"[Status]"_qs, u"Einstellung2=1"_qs, u"Einstellung3=0"_qs,
                                  u"Einstellung4=geheim"_qs, u"Einstellung5=3"_qs, u"Einstellung6=3"_qs});
        f.ordner.schreibenZeilen(u"bonkopf.ini"_qs, {u"[kopf]"_qs, u"Titel1=Sportfest Grünwald"_qs});
        f.starten();
        const KassenZustand &z = f.kasse().zustand();
        QCOMPARE(f.panel(3), u"123,50"_qs);
        QCOMPARE(f.panel(6), u"F3 - Einzelbon ein"_qs);
        QCOMPARE(f.panel(7), u"F4 - Tischnr. aus"_qs);
        QCOMPARE(f.rekorder.ersteZeilen(), QStringList{u"Schnittstelle an COM 3 kann nicht geöffnet werden!"_qs});
        QCOMPARE(f.finden<KassenTaste>(u"Command106"_qs)->beschriftung(), u"Com 3"_qs);
        QCOMPARE(z.Verkauft[3], 400);
        QCOMPARE(z.Gesamteinnahme, 12350);
        QCOMPARE(z.Einstellung.Passwort, u"geheim"_qs);
        QCOMPARE(z.Einstellung.BonImageNr, 3);
        QCOMPARE(z.Kopfzeile[1], u"Sportfest Grünwald"_qs);
        QCOMPARE(z.Kopfzeile[2], u"Unbekannt"_qs);
        QCOMPARE(f.tastenBeschriftung(12), u"Artikel 12\n12,00"_qs);
        // A key without a price cannot be pressed.
        QVERIFY(!f.aktiv(u"Command7"_qs));
        QCOMPARE(f.finden<KassenTaste>(u"Command1"_qs)->farbe(), QColor(255, 255, 128));
    }

    void protokollMitLeerzeilen()
    {
        KassenFixture f;
        f.ordner.schreiben(u"protokoll.txt"_qs, "4 10:00:04  1 x B   1,00\r\n\r\n2 10:00:02  1 x A   1,00\r\n"
                                                "1 10:00:01  1 x A   1,00\r\n0 10:00:00  1 x \xc4pfel   1,00\r\n");
        f.starten();
        QCOMPARE(f.kasse().zustand().Zaehler, 5);
        QCOMPARE(f.kasse().zustand().ProtokollZeilen, 5);
        QVERIFY(f.kasse().protokollText().startsWith(u"4 10:00:04  1 x B   1,00\r\n\r\n2 "_qs));
        QVERIFY(f.kasse().protokollText().endsWith(u"0 10:00:00  1 x Äpfel   1,00\r\n"_qs));
    }

    void restzeilenEinesFrueherenLaufsWerdenGeloescht()
    {
        KassenFixture f;
        {
            BonTabelle alt;
            QVERIFY(alt.oeffnen(f.ordner.datei(u"daten.db"_qs)));
            QVERIFY(alt.hinzufuegen({0, u"1"_qs, u"Alt"_qs, u"1,00"_qs, 1, 9}));
            alt.schliessen();
        }
        f.starten();
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 0);
    }

    void datenbankNichtZuOeffnen()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        QVERIFY(QDir(f.ordner.pfad()).mkdir(u"daten.db"_qs));
        f.starten();
        QVERIFY(f.rekorder.texte().contains(
            u"Die Datenbank daten.db kann nicht geöffnet werden. Der offene Bon wird nur im Speicher gehalten."_qs));
        // The register still sells.
        f.klicken(u"Command2"_qs);
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 1);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"2,00"_qs);
    }
};

QTEST_MAIN(TestKasseStart)
#include "test_kasse_start.moc"
