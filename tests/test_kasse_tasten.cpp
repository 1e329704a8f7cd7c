// ESC and the function keys as a person presses them, whichever window has
// the focus: the timer acts on each press once, and only where it may.
#include "register/anzeige.h"
#include "printing/drucker_port.h"
#include "register/kassen_taste.h"
#include "register/tastenabfrage.h"
#include "support/kassen_fixture.h"
#include "support/pseudo_terminal.h"

#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

void Einstellen(KassenFixture &f)
{
    f.einstellen();
    QTRY_COMPARE_WITH_TIMEOUT(f.panel(4), u"Einstellen"_qs, 500);
}

void Tasten(QWidget *w, std::initializer_list<Qt::Key> tasten)
{
    for (Qt::Key t : tasten)
        QTest::keyClick(w, t);
}

QWidget *Sichtbar(KassenFixture &f, const QString &name)
{
    QWidget *w = f.kasse().findChild<QWidget *>(name);
    return w && w->isVisible() ? w : nullptr;
}

} // namespace

class TestKasseTasten : public QObject
{
    Q_OBJECT

private slots:
    void nurImEinstellmodus()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"verkauf.ini"_qs, {u"[verkauft]"_qs, u"Taste1=4"_qs, u"Taste36=4"_qs});
        f.starten();
        f.klicken(u"Command1"_qs);
        const QString protokoll = f.kasse().protokollText();
        const auto unveraendert = [&] {
            return f.panel(6) == u"F3 - Einzelbon aus" && f.panel(7) == u"F4 - Tischnr. aus"
                && f.kasse().protokollText() == protokoll && f.panel(3) == u"4,00"
                && !Sichtbar(f, u"Bonkopf"_qs);
        };

        // In normal mode the presses do nothing and are used up.
        Tasten(&f.kasse(), {Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7});
        QTest::qWait(150);
        Einstellen(f);
        QTest::qWait(150);
        QVERIFY(unveraendert());

        // A held key repeats nothing.
        QKeyEvent wiederholt(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier, {}, true);
        QApplication::sendEvent(&f.kasse(), &wiederholt);
        QTest::qWait(150);
        QVERIFY(unveraendert());

        // Two presses of F3 within one tick are one press.
        Tasten(&f.kasse(), {Qt::Key_F3, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7});
        QTRY_VERIFY_WITH_TIMEOUT(Sichtbar(f, u"Bonkopf"_qs), 500);
        QCOMPARE(f.panel(6), u"F3 - Einzelbon ein"_qs);
        QCOMPARE(f.panel(7), u"F4 - Tischnr. ein"_qs);
        QCOMPARE(f.kasse().protokollText(), QString());
        QCOMPARE(f.kasse().zustand().Zaehler, 1);
        QCOMPARE(f.panel(3), u"0,00"_qs);
        QCOMPARE(f.kasse().zustand().Verkauft[1], Cent(0));
    }

    void berichteOhneDrucker_data()
    {
        QTest::addColumn<int>("taste");
        QTest::addColumn<bool>("einstellen");
        QTest::addColumn<QString>("enthalten");
        const QString verkauf = u"    V E R K A U F S B E L E G "_qs;
        const QString tasten = u"    Taste 2  2,00  Artikel 2\r\n"_qs;
        QTest::newRow("F10 normal") << int(Qt::Key_F10) << false << verkauf;
        QTest::newRow("F10 Einstellmodus") << int(Qt::Key_F10) << true << verkauf;
        QTest::newRow("F11 normal") << int(Qt::Key_F11) << false << tasten;
        QTest::newRow("F11 Einstellmodus") << int(Qt::Key_F11) << true << tasten;
        QTest::newRow("F1") << int(Qt::Key_F1) << false << u" F12 = (*) Einstellmodus"_qs;
    }

    void berichteOhneDrucker()
    {
        QFETCH(int, taste);
        QFETCH(bool, einstellen);
        QFETCH(QString, enthalten);
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        if (einstellen)
            Einstellen(f);
        Tasten(&f.kasse(), {Qt::Key(taste)});
        QTRY_VERIFY_WITH_TIMEOUT(Sichtbar(f, u"Anzeige"_qs), 500);
        const QString text = f.kasse().findChild<Anzeige *>(u"Anzeige"_qs)->text();
        QVERIFY2(text.contains(enthalten), qPrintable(text));
    }

    void escBeendet()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        QSignalSpy beendet(&f.kasse(), &Kasse::beendet);
        f.klicken(u"Command2"_qs);
        Einstellen(f);
        f.klicken(u"HilfeButton"_qs);
        QTest::mouseClick(f.finden(u"Label1_1"_qs), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command106"_qs), 500);
        f.klicken(u"Command106"_qs);
        QPointer<QDialog> dialog = f.kasse().findChild<QDialog *>(u"Einstell"_qs);
        QVERIFY(dialog && dialog->isVisible());

        // Neither window closes itself on ESC ...
        Tasten(dialog, {Qt::Key_Escape});
        Tasten(Sichtbar(f, u"Anzeige"_qs), {Qt::Key_Escape});
        QVERIFY(dialog && dialog->isVisible() && Sichtbar(f, u"Anzeige"_qs));
        QCOMPARE(beendet.count(), 0);

        // ... the next tick saves and ends the program, still in set-up mode.
        QTRY_COMPARE_WITH_TIMEOUT(beendet.count(), 1, 500);
        QVERIFY(!f.kasse().isVisible());
        QCOMPARE(f.kasse().zustand().Einstellmodus, true);
        QVERIFY(f.ordner.lesen(u"protokoll.txt"_qs).contains("1 x Artikel 2   2,00\r\n"));
    }

    void funktionszeile()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"verkauf.ini"_qs, {u"[verkauft]"_qs, u"Taste36=4"_qs});
        f.starten();
        f.klicken(u"Command1"_qs);
        Einstellen(f);
        QTest::mouseClick(f.finden(u"Label1_1"_qs), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command105"_qs), 500);

        // Each caption says what its button clears.
        QCOMPARE(f.finden<KassenTaste>(u"Command103"_qs)->beschriftung(), u"Protokoll löschen"_qs);
        QCOMPARE(f.finden<KassenTaste>(u"Command104"_qs)->beschriftung(), u"Umsatz löschen"_qs);
        f.klicken(u"Command103"_qs);
        QCOMPARE(f.kasse().protokollText(), QString());
        QCOMPARE(f.panel(3), u"4,00"_qs);

        // Bonkopf, F7 and Com: one window each, a second press raises it.
        const auto anzahl = [&f](const QString &name) {
            int n = 0;
            for (QWidget *w : f.kasse().findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly))
                n += w->isVisible();
            return n;
        };
        f.klicken(u"Command105"_qs);
        f.klicken(u"Command105"_qs);
        Tasten(&f.kasse(), {Qt::Key_F7});
        QTest::qWait(150);
        QCOMPARE(anzahl(u"Bonkopf"_qs), 1);
        f.klicken(u"Command106"_qs);
        f.klicken(u"Command106"_qs);
        QCOMPARE(anzahl(u"Einstell"_qs), 1);
    }

    void escImDateidialog()
    {
        // The file dialog is the desktop's: ESC cancels it and is not noted,
        // so it neither ends the register nor waits for the next tick.
        Tastenabfrage abfrage;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!abfrage.gedrueckt(Qt::Key_Escape));

        // Any other window: noted and eaten.
        QDialog anderer;
        anderer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&anderer));
        QTest::keyClick(&anderer, Qt::Key_Escape);
        QVERIFY(anderer.isVisible());
        QVERIFY(abfrage.gedrueckt(Qt::Key_Escape));
    }

    void f12()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();

        // Normal mode: only the password window.
        Tasten(&f.kasse(), {Qt::Key_F12});
        QTRY_VERIFY_WITH_TIMEOUT(Sichtbar(f, u"Anmeldung"_qs), 500);
        QCOMPARE(f.kasse().zustand().Einstellmodus, false);
        Sichtbar(f, u"Anmeldung"_qs)->hide();

        // Set-up mode with the row shown: F12 leaves it at once, keeps the
        // row, and keys without a price are locked again.
        Einstellen(f);
        QTest::mouseClick(f.finden(u"Label1_1"_qs), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(f.aktiv(u"Command101"_qs) && f.aktiv(u"Command7"_qs), 500);
        Tasten(&f.kasse(), {Qt::Key_F12});
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(4), u"F1 - Tastenhilfe"_qs, 500);
        QCOMPARE(f.kasse().zustand().Einstellmodus, false);
        QVERIFY(f.sichtbar(u"DataGrid1"_qs) && f.sichtbar(u"Protokoll"_qs) && !f.sichtbar(u"Shape2"_qs));
        QVERIFY(!f.aktiv(u"Command7"_qs));
        QVERIFY(f.sichtbar(u"Command101"_qs) && f.aktiv(u"Command101"_qs));
        QVERIFY(!Sichtbar(f, u"Anmeldung"_qs));
        f.klicken(u"Command101"_qs); // tests the mode itself
        QCOMPARE(f.panel(6), u"F3 - Einzelbon aus"_qs);
    }

    void f2Drucker()
    {
        PseudoTerminal pty;
        QVERIFY(pty.offen());
        KassenFixture f;
        f.ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + pty.geraet()});
        f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung6=1"_qs});
        f.starten();
        QCOMPARE(f.panel(5), u"F2 - Drucker ein"_qs);
        pty.empfangen(300);
        Tasten(&f.kasse(), {Qt::Key_F2});
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(5), u"F2 - Drucker aus"_qs, 500);
        QVERIFY(!f.kasse().druckerPort().PortOpen());
        Einstellen(f);
        Tasten(&f.kasse(), {Qt::Key_F2});
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(5), u"F2 - Drucker ein"_qs, 500);
        const QByteArray einschalten{"\x1b\x44\x23\x00\x1d\x61\x0f", 7};
        QCOMPARE(pty.empfangenBis(einschalten.size()), einschalten);
        QCOMPARE(f.rekorder.texte(), QStringList());
    }

    void f2OhneSchnittstelle()
    {
        // Setting 6 is no number: the key names the port as the setting has it.
        KassenFixture f;
        f.starten();
        Tasten(&f.kasse(), {Qt::Key_F2});
        QTRY_COMPARE_WITH_TIMEOUT(f.rekorder.meldungen.size(), 2, 500);
        QCOMPARE(f.rekorder.ersteZeilen().last(), u"Schnittstelle an COM Unbekannt kann nicht geöffnet werden!"_qs);
        QCOMPARE(f.panel(5), u"F2 - Drucker aus"_qs);
        QVERIFY(!f.kasse().druckerPort().PortOpen());
    }
};

QTEST_MAIN(TestKasseTasten)
#include "test_kasse_tasten.moc"
