// The keypad for the amount given and the table number, tapped key by key
// on the register window: what it shows in the two display lines and what
// "OK" does with "GEG" (the rules themselves are tested on the model).
#include "register/eingabefeld.h"
#include "register/kassen_taste.h"
#include "support/kassen_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kTischFehler =
    QStringLiteral("Ungültige Tischnummer. Bitte versuchen Sie es noch einmal!");
const QString kEingabeFehler =
    QStringLiteral("Ungültige Eingabe. Bitte versuchen Sie es noch einmal!");

// The key under its caption, as the operator sees it.
QString TastenName(const QString &beschriftung)
{
    if (beschriftung == u"10")
        return QStringLiteral("Eingabe10");
    if (beschriftung == u"20")
        return QStringLiteral("Eingabe11");
    if (beschriftung == u"50")
        return QStringLiteral("Eingabe12");
    if (beschriftung == u",")
        return QStringLiteral("Back");
    if (beschriftung == u"C")
        return QStringLiteral("Löschen");
    if (beschriftung == u"OK")
        return QStringLiteral("Command1");
    return u"Eingabe"_qs + beschriftung;
}

struct Aufbau
{
    KassenFixture f;
    QLabel *label1_0 = nullptr;
    QLabel *label1_1 = nullptr;
    QAbstractButton *geg = nullptr;
    Eingabefeld *feld = nullptr;

    // The register just after "=" with the given total and "GEG" pressed
    // (gegeben 1), or asking for the table number at an article key.
    Aufbau(Cent summe, int gegeben, int tischnummerAnzeige = 0)
    {
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs,
                                 {u"[Status]"_qs, u"Einstellung3="_qs + QString::number(tischnummerAnzeige)});
        f.starten();
        f.rekorder.meldungen.clear(); // the printer that is not there
        f.kasse().resize(784, 604); // the design size: the offset in twips holds unscaled
        f.kasse().move(100, 60);
        QTest::qWait(20);
        label1_0 = f.finden<QLabel>(u"Label1_0"_qs);
        label1_1 = f.finden<QLabel>(u"Label1_1"_qs);
        geg = f.finden<QAbstractButton>(u"GegebenTaste"_qs);
        z().G_Summe = summe;
        if (gegeben == 1 || tischnummerAnzeige != 1) {
            label1_0->setText(u"GESAMT"_qs);
            label1_1->setText(BetragFormat(summe));
            geg->setEnabled(true);
            QTest::mouseClick(geg, Qt::LeftButton);
        } else {
            geg->setEnabled(false);
            f.klicken(u"Command1"_qs);
        }
        feld = f.kasse().findChild<Eingabefeld *>(u"Eingabefeld"_qs);
        QVERIFY(feld && feld->isVisible());
    }

    KassenZustand &z() { return f.zustandVonHand(); }

    // Shown again as the register shows it.
    void zeigen() { feld->zeigen(f.kasse().modell().Schnellbetraege()); }

    QAbstractButton *taste(const QString &name) const
    {
        return feld->findChild<QAbstractButton *>(name);
    }

    // Keys by caption, separated by blanks: "1 0 , 5 OK".
    void tippen(const QString &folge) const
    {
        for (const QString &b : folge.split(u' ', Qt::SkipEmptyParts)) {
            QAbstractButton *knopf = taste(TastenName(b));
            QVERIFY2(knopf && knopf->isVisible(), qPrintable(b));
            QTest::mouseClick(knopf, Qt::LeftButton);
        }
    }
};

} // namespace

class TestEingabefeld : public QObject
{
    Q_OBJECT

private slots:
    void tastenUndLage();
    void eingabeAnzeigen_data();
    void eingabeAnzeigen();
    void rueckgeld_data();
    void rueckgeld();
    void betragKeineZahl();
    void tischnummer_data();
    void tischnummer();
    void tischnummerAbgelehnt_data();
    void tischnummerAbgelehnt();
    void schnelltastenNachEinstellung();
    void rueckgeldTrotzTischnummern();
    void neuGeladenNachSchliessen_data();
    void neuGeladenNachSchliessen();
    void offenBleibtEingabe();
    void titelleisteGibtBetragAuf();
};

void TestEingabefeld::tastenUndLage()
{
    Aufbau a(750, 1);
    QVERIFY(a.feld->isWindow());
    QCOMPARE(a.feld->parentWidget(), &a.f.kasse());
    QCOMPARE(a.feld->windowModality(), Qt::NonModal);
    QCOMPARE(a.feld->pos(), a.f.kasse().pos() + QPoint(257, 116)); // 3860, 1740 twips

    // Name, caption, left and top in twips; every key 1455 x 1215.
    const struct
    {
        const char *name, *text;
        int links, oben;
    } erwartet[] = {
        {"Eingabe7", "7", 960, 480},     {"Eingabe8", "8", 2640, 480},
        {"Eingabe9", "9", 4320, 480},    {"Eingabe10", "10", 6000, 480},
        {"Eingabe4", "4", 960, 2040},    {"Eingabe5", "5", 2640, 2040},
        {"Eingabe6", "6", 4320, 2040},   {"Eingabe11", "20", 6000, 2040},
        {"Eingabe1", "1", 960, 3600},    {"Eingabe2", "2", 2640, 3600},
        {"Eingabe3", "3", 4320, 3600},   {"Eingabe12", "50", 6000, 3600},
        {"Eingabe0", "0", 960, 5160},    {"Back", ",", 2640, 5160},
        {"Löschen", "C", 4320, 5160},    {"Command1", "OK", 6000, 5160},
    };
    for (const auto &e : erwartet) {
        const QString name = QString::fromUtf8(e.name);
        auto *knopf = dynamic_cast<KassenTaste *>(a.taste(name));
        QVERIFY2(knopf, e.name);
        QCOMPARE(knopf->beschriftung(), QString::fromUtf8(e.text));
        QCOMPARE(knopf->geometry(), QRect(e.links / 15, e.oben / 15, 97, 81));
        QCOMPARE(knopf->focusPolicy(), Qt::NoFocus);
        QVERIFY2(knopf->font().pixelSize() >= 24, e.name);
        QVERIFY(a.feld->rect().contains(knopf->geometry()));
    }
    QCOMPARE(a.feld->findChildren<QAbstractButton *>().size(), 16);
}

void TestEingabefeld::eingabeAnzeigen_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<QString>("anzeige");

    QTest::newRow("comma on nothing") << "," << "0,";
    QTest::newRow("comma then digit") << ", 5" << "0,5";
    QTest::newRow("zero on nothing") << "0" << "";
    QTest::newRow("no leading zeros") << "0 0 7" << "7";
    QTest::newRow("zero after a digit") << "2 0" << "20";
    QTest::newRow("digits append") << "1 2 , 5 0" << "12,50";
    QTest::newRow("quick amount") << "20" << "20";
    QTest::newRow("digit replaces quick amount") << "10 5" << "5";
    QTest::newRow("only the first digit replaces") << "10 5 6" << "56";
    QTest::newRow("zero appends to quick amount") << "10 0" << "100";
    QTest::newRow("comma keeps quick amount pending") << "20 , 5" << "5";
    QTest::newRow("quick amount replaces text") << "3 , 5 50" << "50";
    QTest::newRow("clear") << "1 2 C" << "";
    QTest::newRow("typing after clear") << "1 2 C 3" << "3";
    QTest::newRow("second comma is not refused") << "1 , , 2" << "1,,2";
}

void TestEingabefeld::eingabeAnzeigen()
{
    QFETCH(QString, tasten);
    QFETCH(QString, anzeige);
    Aufbau a(750, 1);
    a.tippen(tasten);
    QCOMPARE(a.label1_1->text(), anzeige);
    QCOMPARE(a.label1_0->text(), u"GESAMT"_qs);
    QVERIFY(a.feld->isVisible());
    QCOMPARE(a.z().Gegeben, true);
}

void TestEingabefeld::rueckgeld_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<Cent>("summe");
    QTest::addColumn<QString>("zurueck");

    QTest::newRow("typed 10") << "1 0 OK" << Cent(750) << "2,50";
    QTest::newRow("quick 10") << "10 OK" << Cent(750) << "2,50";
    QTest::newRow("quick 10 then 5 is below") << "10 5 OK" << Cent(750) << "0,00";
    QTest::newRow("nothing typed") << "OK" << Cent(750) << "0,00";
    QTest::newRow("trailing comma") << "50 , OK" << Cent(1234) << "37,66";
    QTest::newRow("after clear") << "5 C 2 0 OK" << Cent(1999) << "0,01";
}

void TestEingabefeld::rueckgeld()
{
    QFETCH(QString, tasten);
    QFETCH(Cent, summe);
    QFETCH(QString, zurueck);
    Aufbau a(summe, 1);
    a.tippen(tasten);
    QCOMPARE(a.label1_0->text(), u"ZURÜCK"_qs);
    QCOMPARE(a.label1_1->text(), zurueck);
    QVERIFY(!a.geg->isEnabled());
    QCOMPARE(a.z().Gegeben, false);
    QCOMPARE(a.z().G_Summe, summe);
    QVERIFY(!a.feld->isVisible());
    QVERIFY(a.f.rekorder.meldungen.isEmpty());
}

void TestEingabefeld::betragKeineZahl()
{
    Aufbau a(750, 1);
    a.tippen(QStringLiteral("1 , , 2 OK"));
    QCOMPARE(a.f.rekorder.texte(), QStringList{kEingabeFehler});
    QCOMPARE(a.f.rekorder.meldungen.first().titel, u"Fehler"_qs);
    QVERIFY(a.feld->isVisible());
    QCOMPARE(a.label1_0->text(), u"GESAMT"_qs);
    QVERIFY(a.geg->isEnabled());
    QCOMPARE(a.z().Gegeben, true);

    // The text was cleared: a new try starts from nothing.
    a.tippen(QStringLiteral("1"));
    QCOMPARE(a.label1_1->text(), u"1"_qs);
    a.tippen(QStringLiteral("0 OK"));
    QCOMPARE(a.label1_0->text(), u"ZURÜCK"_qs);
    QCOMPARE(a.label1_1->text(), u"2,50"_qs);
}

void TestEingabefeld::tischnummer_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<int>("tisch");
    QTest::addColumn<QString>("anzeige");

    QTest::newRow("12") << "1 2 OK" << 12 << "12";
    QTest::newRow("12,5 to even") << "1 2 , 5 OK" << 12 << "12,5";
    QTest::newRow("0,5 passes as 0") << ", 5 OK" << 0 << "0,5";
}

void TestEingabefeld::tischnummer()
{
    QFETCH(QString, tasten);
    QFETCH(int, tisch);
    QFETCH(QString, anzeige);
    Aufbau a(0, 0, 1);
    a.z().Tischnummer = -1; // so that a table 0 shows as written
    a.tippen(tasten);
    QCOMPARE(a.z().Tischnummer, tisch);
    QCOMPARE(a.label1_1->text(), anzeige);
    QCOMPARE(a.label1_0->text(), u"TISCHNUMMER"_qs);
    QVERIFY(!a.feld->isVisible());
    QVERIFY(!a.geg->isEnabled());
    QCOMPARE(a.z().Gegeben, false);
    QVERIFY(a.f.rekorder.meldungen.isEmpty());
}

void TestEingabefeld::tischnummerAbgelehnt_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<QString>("anzeige");

    QTest::newRow("nothing") << "OK" << kTischFehler << "";
    QTest::newRow("zero comma") << ", OK" << kTischFehler << "0,";
    QTest::newRow("cleared") << "4 C OK" << kTischFehler << "";
    QTest::newRow("above 16 bits") << "3 2 7 6 8 OK" << kTischFehler << "32768";
    QTest::newRow("two commas") << "1 , , 2 OK" << kEingabeFehler << "1,,2";
}

void TestEingabefeld::tischnummerAbgelehnt()
{
    QFETCH(QString, tasten);
    QFETCH(QString, meldung);
    QFETCH(QString, anzeige);
    Aufbau a(0, 0, 1);
    a.tippen(tasten);
    QCOMPARE(a.f.rekorder.texte(), QStringList{meldung});
    QCOMPARE(a.f.rekorder.meldungen.first().titel, u"Fehler"_qs);
    QCOMPARE(a.z().Tischnummer, 0);
    QVERIFY(a.feld->isVisible());
    QCOMPARE(a.label1_1->text(), anzeige); // what was typed stays in view
    QCOMPARE(a.label1_0->text(), u"TISCHNUMMER"_qs);

    // The text is empty again, and the next try goes through.
    a.tippen(QStringLiteral("5"));
    QCOMPARE(a.label1_1->text(), u"5"_qs);
    a.tippen(QStringLiteral("OK"));
    QCOMPARE(a.z().Tischnummer, 5);
    QVERIFY(!a.feld->isVisible());
    QCOMPARE(a.f.rekorder.meldungen.size(), 1);
}

void TestEingabefeld::schnelltastenNachEinstellung()
{
    const QStringList schnell{u"Eingabe10"_qs, u"Eingabe11"_qs, u"Eingabe12"_qs};
    Aufbau a(0, 0, 1);
    for (const QString &name : schnell)
        QVERIFY2(a.taste(name)->isHidden(), qPrintable(name));
    QVERIFY(a.taste(u"Eingabe9"_qs)->isVisible());
    QVERIFY(a.taste(u"Command1"_qs)->isVisible());

    // Loaded afresh after a close, the keys follow the setting of that moment.
    a.tippen(QStringLiteral("3 OK"));
    a.z().Einstellung.TischnummerAnzeige = false;
    a.zeigen();
    for (const QString &name : schnell)
        QVERIFY2(a.taste(name)->isVisible(), qPrintable(name));
}

void TestEingabefeld::rueckgeldTrotzTischnummern()
{
    Aufbau a(300, 1, 1);
    a.z().Tischnummer = 4;
    QVERIFY(a.taste(u"Eingabe10"_qs)->isHidden());
    a.tippen(QStringLiteral("5 OK"));
    QCOMPARE(a.label1_0->text(), u"ZURÜCK"_qs);
    QCOMPARE(a.label1_1->text(), u"2,00"_qs);
    QCOMPARE(a.z().Tischnummer, 4);
    QCOMPARE(a.z().Gegeben, false);
    QVERIFY(!a.geg->isEnabled());
    QVERIFY(!a.feld->isVisible());
}

void TestEingabefeld::neuGeladenNachSchliessen_data()
{
    QTest::addColumn<bool>("durchOk");
    QTest::newRow("closed by OK") << true;
    QTest::newRow("closed by the title bar") << false;
}

void TestEingabefeld::neuGeladenNachSchliessen()
{
    QFETCH(bool, durchOk);
    Aufbau a(0, 0, 0);
    // A quick amount and a comma: the quick amount is still pending.
    a.tippen(QStringLiteral("10 ,"));
    if (durchOk)
        a.tippen(QStringLiteral("OK"));
    else
        a.feld->close();
    QVERIFY(!a.feld->isVisible());

    a.label1_1->setText(u"x"_qs);
    a.zeigen();
    QVERIFY(a.feld->isVisible());
    QCOMPARE(a.feld->pos(), a.f.kasse().pos() + QPoint(257, 116));
    // A pending quick amount would let the 5 replace the text.
    a.tippen(QStringLiteral(", 5"));
    QCOMPARE(a.label1_1->text(), u"0,5"_qs);
}

void TestEingabefeld::offenBleibtEingabe()
{
    Aufbau a(0, 0, 1);
    a.tippen(QStringLiteral("1"));
    // Shown again while open (an article key, or "GEG"): nothing is reloaded.
    a.zeigen();
    a.tippen(QStringLiteral("2 OK"));
    QCOMPARE(a.z().Tischnummer, 12);
}

void TestEingabefeld::titelleisteGibtBetragAuf()
{
    Aufbau a(750, 1, 1);
    a.tippen(QStringLiteral("1 2"));
    a.feld->close();
    QCOMPARE(a.z().Gegeben, false);
    QCOMPARE(a.label1_0->text(), u"GESAMT"_qs);
    QVERIFY(a.geg->isEnabled());

    // The next "OK" is a table number again, not an amount given.
    a.zeigen();
    a.tippen(QStringLiteral("1 2 OK"));
    QCOMPARE(a.z().Tischnummer, 12);
    QCOMPARE(a.label1_0->text(), u"GESAMT"_qs);
    QCOMPARE(a.label1_1->text(), u"12"_qs);
    QVERIFY(a.geg->isEnabled());
}

QTEST_MAIN(TestEingabefeld)
#include "test_eingabefeld.moc"
