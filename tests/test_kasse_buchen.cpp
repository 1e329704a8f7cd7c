// Booking article keys, the quantity keys, closing a receipt and what the
// register keeps on disk afterwards.
#include "persistence/ini_datei.h"
#include "persistence/bon_tabelle.h"
#include "register/kassen_taste.h"
#include "support/kassen_fixture.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

// The fixture with the sample layout and key 3 at 1,50.
void MitLayout(KassenFixture &f, const QStringList &extra = {})
{
    QStringList layout = KassenFixture::BeispielLayout();
    layout.replace(layout.indexOf(u"Preis3=3,00"_qs), u"Preis3=1,50"_qs);
    layout << extra;
    f.ordner.schreibenZeilen(u"kasse.ini"_qs, layout);
}

QString IniWert(const KassenFixture &f, const QString &datei, const QString &abschnitt,
                const QString &schluessel)
{
    return IniLesen(f.ordner.datei(datei), abschnitt, schluessel, 40);
}

// "12 14:05:09  3 x Cola   4,50" with any time.
QRegularExpression Zeile(int nr, const QString &rest)
{
    return QRegularExpression(u"^%1 \\d\\d:\\d\\d:\\d\\d  %2$"_qs.arg(nr).arg(QRegularExpression::escape(rest)));
}

QStringList Protokollzeilen(const Kasse &kasse)
{
    return kasse.protokollText().split(u"\r\n"_qs, Qt::SkipEmptyParts);
}

} // namespace

class TestKasseBuchen : public QObject
{
    Q_OBJECT

private slots:
    void buchungMitMenge()
    {
        KassenFixture f;
        MitLayout(f);
        f.ordner.schreiben(u"protokoll.txt"_qs, "1 09:00:00  1 x Alt   1,00\r\n0 09:00:00  1 x Alt   1,00\r\n");
        f.starten();
        f.klicken(u"Taste03"_qs);
        QCOMPARE(f.text(u"Label2"_qs), u"3"_qs);
        f.klicken(u"Command3"_qs);

        const BonTabelle &bon = f.kasse().bonTabelle();
        QCOMPARE(bon.anzahl(), 1);
        const BonZeile zeile = bon.zeilen().first();
        QCOMPARE(zeile.Anzahl, u"3"_qs);
        QCOMPARE(zeile.Artikel, u"Artikel 3"_qs);
        QCOMPARE(zeile.Preis, u"4,50"_qs);
        QCOMPARE(zeile.Tastennr, 3);
        QCOMPARE(zeile.BonId, 2);
        QVERIFY(Zeile(2, u"3 x Artikel 3   4,50"_qs).match(Protokollzeilen(f.kasse()).first()).hasMatch());
        QCOMPARE(f.kasse().zustand().Zaehler, 3);
        QCOMPARE(f.kasse().zustand().Anzahl_Eingabe, u"0"_qs);
        QCOMPARE(f.text(u"Label1_0"_qs), u"Artikel 3"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"4,50"_qs);
        QCOMPARE(f.text(u"Euro"_qs), u"€ "_qs);
        QVERIFY(f.aktiv(u"IstgleichTaste"_qs));
        QVERIFY(f.aktiv(u"Storno"_qs));
        QVERIFY(!f.aktiv(u"GegebenTaste"_qs));

        // Without a quantity the key books one.
        f.klicken(u"Command3"_qs);
        QCOMPARE(bon.zeilen().last().Anzahl, u"1"_qs);
        QCOMPARE(bon.zeilen().last().Preis, u"1,50"_qs);
        QCOMPARE(bon.zeilen().last().BonId, 3);
        QCOMPARE(bon.aktuelleZeile(), 1);
    }

    void mengentasten_data()
    {
        QTest::addColumn<QStringList>("tasten");
        QTest::addColumn<QString>("gebucht");
        // The rule's rows are the model's (test_kassen_modell, menge); here
        // the digit, 0 and C keys each once.
        QTest::newRow("1 0") << QStringList{u"Taste01"_qs, u"Taste0"_qs} << u"10"_qs;
        QTest::newRow("4 C") << QStringList{u"Taste04"_qs, u"TasteC"_qs} << u"1"_qs;
    }

    void mengentasten()
    {
        QFETCH(QStringList, tasten);
        QFETCH(QString, gebucht);
        KassenFixture f;
        MitLayout(f);
        f.starten();
        for (const QString &t : tasten)
            f.klicken(t);
        f.klicken(u"Command2"_qs);
        QCOMPARE(f.kasse().bonTabelle().zeilen().first().Anzahl, gebucht);
    }

    void ziffertasteLoeschtTextzeile()
    {
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.klicken(u"Command2"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        f.klicken(u"Taste0"_qs);
        QCOMPARE(f.text(u"Label1_0"_qs), u"GESAMT"_qs);
        f.klicken(u"Taste04"_qs);
        QCOMPARE(f.text(u"Label1_0"_qs), QString());
        QCOMPARE(f.text(u"Label1_1"_qs), u"2,00"_qs);
        f.klicken(u"TasteC"_qs);
        QCOMPARE(f.text(u"Label2"_qs), QString());
        QCOMPARE(f.text(u"Label1_1"_qs), QString());
    }

    void preisOhneZahl_data()
    {
        QTest::addColumn<QString>("preis");
        // The rule's rows are the model's (test_kassen_modell, preisOhneZahl);
        // here the blanks as the editor stores them, quoted in the file.
        QTest::newRow("Leerzeichen aus dem Editor") << u"\"  \""_qs;
    }

    void preisOhneZahl()
    {
        QFETCH(QString, preis);
        KassenFixture f;
        MitLayout(f, {});
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, {u"[Artikel]"_qs, u"Getraenke1=Wasser"_qs,
                                                   u"[Preise]"_qs, u"Preis1="_qs + preis});
        f.starten();
        f.rekorder.meldungen.clear();
        f.klicken(u"Taste02"_qs);
        f.klicken(u"Command1"_qs);
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 0);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        QCOMPARE(f.rekorder.meldungen[0].text, u"Diese Taste hat keinen gültigen Preis."_qs);
        QCOMPARE(f.rekorder.meldungen[0].titel, u"Fehler"_qs);
        QCOMPARE(f.kasse().zustand().Anzahl_Eingabe, u"0"_qs);
        QCOMPARE(f.kasse().zustand().Zaehler, 0);
        QVERIFY(f.kasse().protokollText().isEmpty());
    }

    void preisMitPunkt()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, {u"[Artikel]"_qs, u"Getraenke1=Wasser"_qs,
                                                   u"[Preise]"_qs, u"Preis1=2.5"_qs});
        f.starten();
        f.klicken(u"Command1"_qs);
        QCOMPARE(f.kasse().bonTabelle().zeilen().first().Preis, u"2,50"_qs);
    }

    void bonAbschliessen()
    {
        KassenFixture f;
        MitLayout(f, {});
        f.starten();
        f.klicken(u"Taste02"_qs);
        f.klicken(u"Command1"_qs); // 2 x 1,00
        f.klicken(u"Taste03"_qs);
        f.klicken(u"Command1"_qs); // 3 x 1,00
        f.klicken(u"Command3"_qs); // 1,50
        f.klicken(u"IstgleichTaste"_qs);

        const KassenZustand &z = f.kasse().zustand();
        QCOMPARE(f.text(u"Label1_0"_qs), u"GESAMT"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"6,50"_qs);
        QCOMPARE(f.text(u"Label2"_qs), QString());
        QCOMPARE(z.G_Summe, 650);
        QCOMPARE(z.Gesamteinnahme, 650);
        QCOMPARE(z.Verkauft[1], 500);
        QCOMPARE(z.Verkauft[3], 100);
        QCOMPARE(z.Verkauft[36], 650);
        QCOMPARE(z.BonSumme, 0);
        QCOMPARE(f.panel(3), u"6,50"_qs);
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 0);
        QVERIFY(!f.aktiv(u"IstgleichTaste"_qs));
        QVERIFY(!f.aktiv(u"Storno"_qs));
        QVERIFY(f.aktiv(u"GegebenTaste"_qs));
        QVERIFY(!f.sichtbar(u"Command100"_qs));

        // Saved at once: counts, takings, protocol and settings.
        QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste1"_qs), u"5"_qs);
        QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste2"_qs), u"0"_qs);
        QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste36"_qs), u"6,5"_qs);
        const QByteArray protokoll = f.ordner.lesen(u"protokoll.txt"_qs);
        QVERIFY(protokoll.startsWith("2 "));
        QVERIFY(protokoll.endsWith("  2 x Artikel 1   2,00\r\n"));
        QCOMPARE(protokoll.count("\r\n"), 3);
        for (int i = 1; i <= 9; ++i)
            QVERIFY(IniWert(f, u"Einstellungen.ini"_qs, u"Status"_qs, u"Einstellung"_qs + QString::number(i)) != u"Unbekannt"_qs
                    || i == 4 || i == 8 || i == 9);
        QCOMPARE(IniWert(f, u"Einstellungen.ini"_qs, u"status"_qs, u"Einstellung6"_qs),
                 IniWert(f, u"Einstellungen.ini"_qs, u"status"_qs, u"Einstellung7"_qs));

        // The next booking starts a new receipt.
        f.klicken(u"Command2"_qs);
        QVERIFY(!f.aktiv(u"GegebenTaste"_qs));
    }

    void summeAufDenCentGenau()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, {u"[Artikel]"_qs, u"Getraenke1=A"_qs, u"Getraenke2=B"_qs,
                                                   u"[Preise]"_qs, u"Preis1=1,10"_qs, u"Preis2=2,20"_qs});
        f.starten();
        f.klicken(u"Command1"_qs);
        f.klicken(u"Command2"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"3,30"_qs);
        QCOMPARE(IniWert(f, u"verkauf.ini"_qs, u"verkauft"_qs, u"Taste36"_qs), u"3,3"_qs);
    }

    void bonMitSummeNull()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, {u"[Artikel]"_qs, u"Getraenke1=Pfand zurück"_qs,
                                                   u"[Preise]"_qs, u"Preis1=0,00"_qs});
        f.starten();
        f.klicken(u"Command1"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.text(u"Label1_1"_qs), u"0,00"_qs);
        QVERIFY(!f.aktiv(u"GegebenTaste"_qs));
        // The timer's next tick finds the receipt empty.
        QTRY_VERIFY_WITH_TIMEOUT(!f.aktiv(u"IstgleichTaste"_qs), 500);
    }

    void naechsterStartSetztFort()
    {
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.klicken(u"Command5"_qs);
        f.klicken(u"Command5"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        f.klicken(u"Command6"_qs); // open receipt at shutdown: protocol keeps it
        const QString protokoll = f.kasse().protokollText();
        f.schliessen();
        QVERIFY(f.rekorder.meldungen.size() == 1); // only the printer port at start-up

        KassenFixture zweite;
        for (const QString &name : {u"kasse.ini"_qs, u"verkauf.ini"_qs, u"protokoll.txt"_qs,
                                    u"Einstellungen.ini"_qs})
            zweite.ordner.schreiben(name, f.ordner.lesen(name));
        zweite.starten();
        QCOMPARE(zweite.kasse().protokollText(), protokoll);
        QCOMPARE(zweite.kasse().zustand().Zaehler, 3);
        QCOMPARE(zweite.panel(3), u"10,00"_qs);
        QCOMPARE(zweite.kasse().zustand().Verkauft[5], 200);
        zweite.klicken(u"Command5"_qs);
        QCOMPARE(zweite.kasse().bonTabelle().zeilen().first().BonId, 3);
        // Port 1 was the port in use, so setting 6 says so now.
        QCOMPARE(zweite.kasse().zustand().Einstellung.ComPort, u"1"_qs);
    }

    void protokollHoltMengenrahmen()
    {
        // "P" puts the quantity keys away; a tap on the protocol brings them back.
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.klicken(u"TasteFrei"_qs);
        QVERIFY(!f.sichtbar(u"Rahmen1"_qs));
        auto *box = f.finden<QAbstractScrollArea>(u"Protokoll"_qs);
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QVERIFY(f.sichtbar(u"Rahmen1"_qs));
    }

    void einstellmodusOeffnetEditor()
    {
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.klicken(u"Taste04"_qs);
        f.einstellen();
        QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command7"_qs), 500);
        QCOMPARE(f.panel(4), u"Einstellen"_qs);
        QVERIFY(!f.sichtbar(u"DataGrid1"_qs));
        QVERIFY(!f.sichtbar(u"Protokoll"_qs));
        QVERIFY(!f.sichtbar(u"Rahmen1"_qs));
        f.klicken(u"Command7"_qs);
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 0);
        QCOMPARE(f.kasse().zustand().Anzahl_Eingabe, u"0"_qs);
        QVERIFY(f.sichtbar(u"Übernahme"_qs));
        QCOMPARE(f.finden<QLineEdit>(u"Text1"_qs)->text(), u"Artikel 7"_qs);
        QCOMPARE(f.finden<QLineEdit>(u"Text2"_qs)->text(), QString());

        f.finden<QLineEdit>(u"Text1"_qs)->setText(u"Weißwein & Schorle"_qs);
        f.finden<QLineEdit>(u"Text2"_qs)->setText(u"2,5"_qs);
        f.klicken(u"Command42"_qs);
        QCOMPARE(f.finden<QLineEdit>(u"Text3"_qs)->text(), u"8438015"_qs);
        f.klicken(u"Übernahme"_qs);

        QCOMPARE(f.tastenBeschriftung(7), u"Weißwein & Schorle\n2,50"_qs);
        QCOMPARE(f.finden<KassenTaste>(u"Command7"_qs)->farbe(), QColor(255, 192, 128));
        const QString ini = f.ordner.datei(u"kasse.ini"_qs);
        QCOMPARE(IniLesen(ini, u"Artikel"_qs, u"Getraenke7"_qs, 40), u"Weißwein & Schorle"_qs);
        QCOMPARE(IniLesen(ini, u"Preise"_qs, u"Preis7"_qs, 40), u"2,50"_qs);
        QCOMPARE(IniLesen(ini, u"Farben"_qs, u"Farbe7"_qs, 40), u"8438015"_qs);
        QCOMPARE(IniLesen(ini, u"Preise"_qs, u"Preis8"_qs, 40), u"8,00"_qs);
        QVERIFY(f.ordner.lesen(u"kasse.ini"_qs).contains("Getraenke7=Wei\xdfwein & Schorle\r\n"));

        // Empty price and colour; Enter in the text field commits too.
        f.klicken(u"Command8"_qs);
        f.finden<QLineEdit>(u"Text2"_qs)->clear();
        f.finden<QLineEdit>(u"Text3"_qs)->clear();
        QTest::keyClick(f.finden<QLineEdit>(u"Text1"_qs), Qt::Key_Return);
        QCOMPARE(f.finden<QLineEdit>(u"Text2"_qs)->text(), u" "_qs);
        QCOMPARE(f.kasse().zustand().Tasten.ArtikelPreis[8], QString());
        QVERIFY(f.ordner.lesen(u"kasse.ini"_qs).contains("Preis8= \r\n"));
        QCOMPARE(IniLesen(ini, u"Farben"_qs, u"Farbe8"_qs, 40), u"-2147483633"_qs);

        // Back in normal mode the key without a price is disabled.
        f.klicken(u"HomeButton"_qs);
        QCOMPARE(f.panel(4), u"F1 - Tastenhilfe"_qs);
        QVERIFY(!f.aktiv(u"Command8"_qs));
    }

    void textOhneZeilenumbruchInDieDatei()
    {
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.einstellen();
        f.klicken(u"Command1"_qs);
        f.finden<QLineEdit>(u"Text1"_qs)->setText(u"Cola\n[Status]\nEinstellung4=offen"_qs);
        f.klicken(u"Übernahme"_qs);
        const QByteArray ini = f.ordner.lesen(u"kasse.ini"_qs);
        QVERIFY(ini.contains("Getraenke1=Cola[Status]Einstellung4=offen\r\n"));
        QVERIFY(!ini.contains("\r\n[Status]"));
    }

    // What the files and the printer cannot hold is refused at the editor,
    // by name; the key, kasse.ini and the fields keep their texts.
    void textDenDieKasseNichtHaelt()
    {
        KassenFixture f;
        MitLayout(f);
        f.starten();
        f.einstellen();
        f.klicken(u"Command1"_qs);
        f.rekorder.meldungen.clear(); // the start's, about the printer
        const QByteArray vorher = f.ordner.lesen(u"kasse.ini"_qs);
        const QString beschriftung = f.tastenBeschriftung(1);
        const QString getippt = QString::fromUcs4(U"Квас \U0001F964 в");
        f.finden<QLineEdit>(u"Text1"_qs)->setText(getippt);
        f.klicken(u"Übernahme"_qs);
        QCOMPARE(f.rekorder.texte(),
                 QStringList{u"Diese Zeichen kann die Kasse weder speichern noch drucken: К в а с "_qs
                             + QString::fromUcs4(U"\U0001F964") + u"\nDie Taste bleibt, wie sie war."_qs});
        QCOMPARE(f.tastenBeschriftung(1), beschriftung);
        QCOMPARE(f.ordner.lesen(u"kasse.ini"_qs), vorher);
        QCOMPARE(f.finden<QLineEdit>(u"Text1"_qs)->text(), getippt);

        // Windows-1252's own signs pass.
        f.finden<QLineEdit>(u"Text1"_qs)->setText(u"Tee – 2 €"_qs);
        f.klicken(u"Übernahme"_qs);
        QCOMPARE(f.rekorder.texte().size(), 1);
        QCOMPARE(f.tastenBeschriftung(1), u"Tee – 2 €\n1,00"_qs);
        QVERIFY(f.ordner.lesen(u"kasse.ini"_qs).contains("Getraenke1=Tee \x96 2 \x80\r\n"));
    }
};

QTEST_MAIN(TestKasseBuchen)
#include "test_kasse_buchen.moc"
