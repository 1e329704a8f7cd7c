// The password window: its keypad, wrong and right passwords, and the ways
// it is opened from the register.
#include "register/anmeldung.h"
#include "support/kassen_fixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

void Starten(KassenFixture &f, const QString &passwort)
{
    f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
    f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung4="_qs + passwort});
    f.starten();
    f.rekorder.meldungen.clear(); // the printer that is not there
}

// A widget sees a double click as a click and then the double click.
Anmeldung *Oeffnen(KassenFixture &f, const QString &label = u"Label1_0"_qs)
{
    QTest::mouseClick(f.finden(label), Qt::LeftButton);
    QTest::mouseDClick(f.finden(label), Qt::LeftButton);
    auto *fenster = f.kasse().findChild<Anmeldung *>(u"Anmeldung"_qs);
    return fenster && fenster->isVisible() ? fenster : nullptr;
}

// Digits on the window's keys; "C" clears, "K" is OK, "A" is Abbrechen.
void Tippen(Anmeldung *fenster, const QString &tasten)
{
    for (QChar c : tasten) {
        const QString name = c == u'C' ? u"Command11"_qs
            : c == u'K'                ? u"cmdOK"_qs
            : c == u'A'                ? u"cmdCancel"_qs
                                       : u"Command%1"_qs.arg(c == u'0' ? 10 : c.digitValue());
        QTest::mouseClick(fenster->findChild<QAbstractButton *>(name), Qt::LeftButton);
    }
}

QLineEdit *Feld(Anmeldung *fenster)
{
    return fenster->findChild<QLineEdit *>(u"txtPassword"_qs);
}

} // namespace

class TestAnmeldung : public QObject
{
    Q_OBJECT

private slots:
    void fenster()
    {
        KassenFixture f;
        Starten(f, u"4711"_qs);
        f.kasse().resize(784, 604); // the design size: the offset in twips holds unscaled
        QTest::qWait(20);
        Anmeldung *a = Oeffnen(f);
        QVERIFY(a);
        QCOMPARE(a->windowTitle(), u"Passworteingabe"_qs);
        QVERIFY(!a->isModal());
        QCOMPARE(a->pos(), f.kasse().pos() + QPoint(301, 225));
        QVERIFY(!f.sichtbar(u"Command100"_qs)); // a click on the text line shows nothing

        Tippen(a, u"1234567890"_qs);
        QCOMPARE(Feld(a)->text(), u"1234567890"_qs);
        QCOMPARE(Feld(a)->displayText(), u"**********"_qs);
        Tippen(a, u"C123A"_qs);
        QVERIFY(!a->isVisible() && !f.kasse().zustand().Einstellmodus);

        // The next showing goes on from the kept entry, at the first place
        // even though the register has moved.
        const QPoint platz = a->pos();
        f.kasse().move(f.kasse().pos() + QPoint(40, 30));
        QTest::keyClick(&f.kasse(), Qt::Key_F12);
        QTRY_VERIFY_WITH_TIMEOUT(a->isVisible(), 500);
        QCOMPARE(a->pos(), platz);
        QCOMPARE(Feld(a)->displayText(), u"***"_qs);
        Tippen(a, u"4"_qs);
        QCOMPARE(Feld(a)->text(), u"1234"_qs);

        // The amount line opens the same window, after its click showed the row.
        a->hide();
        QCOMPARE(Oeffnen(f, u"Label1_1"_qs), a);
        QVERIFY(f.sichtbar(u"Command100"_qs));
        QCOMPARE(f.rekorder.texte(), QStringList());
    }

    void kennwort_data()
    {
        QTest::addColumn<QString>("passwort");
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("getippt"); // on the keyboard, then Enter
        QTest::addColumn<int>("falsch");
        QTest::newRow("richtig") << u"4711"_qs << u"4711K"_qs << QString() << 0;
        QTest::newRow("falsch, dann angehaengt") << u"4711"_qs << u"123K4711K"_qs << QString() << 2;
        QTest::newRow("falsch, C, richtig") << u"4711"_qs << u"123KC4711K"_qs << QString() << 1;
        QTest::newRow("leer auf leer") << QString() << u"K"_qs << QString() << 0;
        QTest::newRow("leer, aber Ziffer") << QString() << u"0K"_qs << QString() << 1;
        QTest::newRow("Tastatur") << u"Ab1"_qs << QString() << u"Ab1"_qs << 0;
        QTest::newRow("gross und klein") << u"Ab1"_qs << QString() << u"ab1"_qs << 1;
    }

    void kennwort()
    {
        QFETCH(QString, passwort);
        QFETCH(QString, tasten);
        QFETCH(QString, getippt);
        QFETCH(int, falsch);
        KassenFixture f;
        Starten(f, passwort);
        Anmeldung *a = Oeffnen(f);
        QVERIFY(a);
        Tippen(a, tasten);
        if (!getippt.isEmpty()) {
            QTest::keyClicks(Feld(a), getippt);
            QTest::keyClick(Feld(a), Qt::Key_Return);
        }
        QCOMPARE(f.rekorder.texte(),
                 QStringList(falsch, u"Ungültiges Kennwort. Bitte versuchen Sie es noch einmal!"_qs));
        for (const Meldungseintrag &m : std::as_const(f.rekorder.meldungen))
            QCOMPARE(m.titel, u"Anmeldung"_qs);

        if (falsch == tasten.count(u'K') + (getippt.isEmpty() ? 0 : 1)) {
            // The wrong entry stays and the window stays open.
            QVERIFY(a->isVisible() && !Feld(a)->text().isEmpty());
            QTest::qWait(150);
            QCOMPARE(f.panel(4), u"F1 - Tastenhilfe"_qs);
            return;
        }
        QVERIFY(!a->isVisible() && f.kasse().zustand().Einstellmodus);
        QCOMPARE(Feld(a)->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(4), u"Einstellen"_qs, 500);
        // A key without a price now opens the editor.
        f.klicken(u"Command7"_qs);
        QCOMPARE(f.finden<QLineEdit>(u"Text1"_qs)->text(), u"Artikel 7"_qs);
        QVERIFY(f.sichtbar(u"Text1"_qs));
    }
};

QTEST_MAIN(TestAnmeldung)
#include "test_anmeldung.moc"
