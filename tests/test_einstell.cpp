// The two small windows of the printer: the port dialog "Druckerschnittstelle",
// driven like a person through its buttons with real pseudo-terminals behind
// the COM ports, and the text window for reports.
#include "register/anzeige.h"
#include "printing/drucker_port.h"
#include "model/drucker_dienst.h"
#include "register/einstell.h"
#include "support/pseudo_terminal.h"
#include "support/testumgebung.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace zanti;
using namespace zanti::test;

namespace {

const QByteArray kNachOk("\x1b\x44\x23\x00\x1d\x61\x0f", 7); // ESC D 35 NUL, GS a 15

// The register as the dialog sees it: a port open on COM 2 (pty "alt"),
// another printer (pty "neu") ready for the port under test.
struct Aufbau
{
    Programmordner ordner;
    PseudoTerminal alt;
    PseudoTerminal neu;
    DruckerPort port;
    DruckerDienst dienst{ordner.pfad(), port};
    Meldungsrekorder rekorder;
    QList<int> gemeldetePorts;
    std::unique_ptr<Einstell> dialog;

    // neuerPort: the COM number that leads to "neu"; its device may be replaced.
    explicit Aufbau(int neuerPort, const QString &einstellung6 = QStringLiteral("2"),
                    const QString &neuesGeraet = {})
    {
        QStringList ini{QStringLiteral("[COM]"), QStringLiteral("COM2=") + alt.geraet()};
        if (neuerPort != 2)
            ini << QStringLiteral("COM%1=%2").arg(neuerPort).arg(
                neuesGeraet.isEmpty() ? neu.geraet() : neuesGeraet);
        ordner.schreibenZeilen(QStringLiteral("schnittstellen.ini"), ini);
        port.CommPortSetzen(2);
        port.oeffnen(alt.geraet());
        // Wired as the register wires it: the printer service opens the port.
        dialog = std::make_unique<Einstell>(einstellung6);
        QObject::connect(dialog.get(), &Einstell::portGewaehlt, [this](int n, const QString &text) {
            if (const auto fehler = dienst.waehlen(n, text))
                return dialog->nichtGeoeffnet(*fehler);
            gemeldetePorts << dienst.port();
            dialog->accept();
        });
        dialog->show();
    }

    QLineEdit *text1() const { return dialog->findChild<QLineEdit *>(QStringLiteral("Text1")); }
    void klicken(const char *name) const
    {
        QPushButton *knopf = dialog->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(knopf, name);
        QTest::mouseClick(knopf, Qt::LeftButton);
    }
};

} // namespace

class TestEinstell : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void aufbau();
    void gueltigeEingabe_data();
    void gueltigeEingabe();
    void eingabetasteHeisstOk();
    void ungueltigeEingabe_data();
    void ungueltigeEingabe();
    void portNichtZuOeffnen();
    void abbruchAendertNichts();

    void anzeigeText();
    void anzeigePosition();
};

void TestEinstell::init()
{
    // Only the port dialog needs pseudo-terminals.
    if (QByteArray(QTest::currentTestFunction()).startsWith("anzeige"))
        return;
    PseudoTerminal probe;
    if (!probe.offen())
        QSKIP("no pseudo-terminals on this system");
}

void TestEinstell::aufbau()
{
    Aufbau a(5, QStringLiteral("3"));
    QCOMPARE(a.dialog->windowTitle(), QStringLiteral("Druckerschnittstelle"));
    QCOMPARE(a.dialog->findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(),
             QStringLiteral("Serielle Schnittstelle Drucker "));
    QCOMPARE(a.dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("COM:"));
    QCOMPARE(a.dialog->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("OK"));
    QCOMPARE(a.dialog->findChild<QPushButton *>(QStringLiteral("Command2"))->text(),
             QStringLiteral("Abbruch"));
    // The setting is loaded and selected, so typing replaces it.
    QCOMPARE(a.text1()->text(), QStringLiteral("3"));
    QCOMPARE(a.text1()->selectedText(), QStringLiteral("3"));
    QVERIFY(!a.dialog->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestEinstell::gueltigeEingabe_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("feldDanach");

    // The rule's rows are the model's (test_kassen_modell, portEingabe);
    // here one goes through the dialog and the port.
    QTest::newRow("über 16 wird 16") << "20" << 16 << "16";
}

void TestEinstell::gueltigeEingabe()
{
    QFETCH(QString, eingabe);
    QFETCH(int, port);
    QFETCH(QString, feldDanach);
    Aufbau a(port);
    QVERIFY(a.port.PortOpen());
    a.text1()->setText(eingabe);
    a.klicken("Command1");

    QCOMPARE(a.rekorder.texte(), QStringList());
    QCOMPARE(a.gemeldetePorts, QList<int>{port});
    QCOMPARE(a.text1()->text(), feldDanach);
    QVERIFY(!a.dialog->isVisible());
    QVERIFY(a.port.PortOpen());
    QCOMPARE(a.port.CommPort(), port);
    // Both commands, in this order, to the new printer; nothing to the old.
    QCOMPARE(a.neu.empfangenBis(kNachOk.size()), kNachOk);
    QCOMPARE(a.neu.empfangen(150), QByteArray());
    QCOMPARE(a.alt.empfangen(50), QByteArray());
}

void TestEinstell::eingabetasteHeisstOk()
{
    Aufbau a(5);
    a.text1()->setText(QStringLiteral("5"));
    QTest::keyClick(a.text1(), Qt::Key_Return);
    QCOMPARE(a.gemeldetePorts, QList<int>{5});
    QCOMPARE(a.neu.empfangenBis(kNachOk.size()), kNachOk);
}

void TestEinstell::ungueltigeEingabe_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::newRow("Buchstaben") << "abc";
}

void TestEinstell::ungueltigeEingabe()
{
    QFETCH(QString, eingabe);
    Aufbau a(5);
    a.text1()->setText(eingabe);
    a.klicken("Command1");

    QCOMPARE(a.rekorder.texte(), QStringList{QStringLiteral("Bitte nur Zahlen eingeben.")});
    QCOMPARE(a.rekorder.meldungen.first().titel, QCoreApplication::applicationName());
    QCOMPARE(a.text1()->text(), QStringLiteral("1"));
    QVERIFY(a.dialog->isVisible());
    QVERIFY(a.gemeldetePorts.isEmpty());
    // The working port is left alone.
    QVERIFY(a.port.PortOpen());
    QCOMPARE(a.port.CommPort(), 2);
    QCOMPARE(a.alt.empfangen(100), QByteArray());
}

void TestEinstell::portNichtZuOeffnen()
{
    Programmordner ordnerFuerFehlendes;
    Aufbau a(16, QStringLiteral("2"), ordnerFuerFehlendes.datei(QStringLiteral("kein_drucker")));
    a.text1()->setText(QStringLiteral("20"));
    a.klicken("Command1");

    QCOMPARE(a.rekorder.ersteZeilen(),
             QStringList{QStringLiteral("Schnittstelle an COM 16 kann nicht geöffnet werden!")});
    QCOMPARE(a.rekorder.meldungen.first().titel, QCoreApplication::applicationName());
    QCOMPARE(a.text1()->text(), QStringLiteral("16"));
    QVERIFY(a.dialog->isVisible());
    QVERIFY(a.gemeldetePorts.isEmpty());
    // The old port was given up before the attempt.
    QVERIFY(!a.port.PortOpen());
    QCOMPARE(a.alt.empfangen(100), QByteArray());

    // The printer is plugged in; the same dialog now succeeds.
    a.ordner.schreibenZeilen(QStringLiteral("schnittstellen.ini"),
                             {QStringLiteral("[COM]"), QStringLiteral("COM16=") + a.neu.geraet()});
    a.klicken("Command1");
    QCOMPARE(a.rekorder.texte().size(), 1);
    QCOMPARE(a.gemeldetePorts, QList<int>{16});
    QVERIFY(!a.dialog->isVisible());
    QCOMPARE(a.neu.empfangenBis(kNachOk.size()), kNachOk);
}

void TestEinstell::abbruchAendertNichts()
{
    Aufbau a(5);
    a.text1()->setText(QStringLiteral("5"));
    a.klicken("Command2");

    QVERIFY(!a.dialog->isVisible());
    QCOMPARE(a.rekorder.texte(), QStringList());
    QVERIFY(a.gemeldetePorts.isEmpty());
    QVERIFY(a.port.PortOpen());
    QCOMPARE(a.port.CommPort(), 2);
    QCOMPARE(a.alt.empfangen(100), QByteArray());
    QCOMPARE(a.neu.empfangen(50), QByteArray());
}

void TestEinstell::anzeigeText()
{
    Anzeige anzeige;
    QCOMPARE(anzeige.windowTitle(), QStringLiteral("Zanti . . ."));
    auto *text1 = anzeige.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(text1);
    QVERIFY(text1->isReadOnly());
    // The columns line up: in the font the window really gets, every
    // character of a report is as wide as every other.
    const QFontMetricsF masse(text1->font());
    const QString zeichen =
        QStringLiteral(" VERKAUFSBELGTNUNGabcdefghijklmnopqrstuvwxyz0123456789,.:_*!-/()=äöüÄÖÜß");
    for (QChar c : zeichen)
        QVERIFY2(masse.horizontalAdvance(c) == masse.horizontalAdvance(u' '), qPrintable(QString(c)));
    QCOMPARE(anzeige.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("OK"));

    const QString bericht = QStringLiteral("\r\n    V E R K A U F S B E L E G \r\n\r\n    2 x 2,50    Bier\r\n");
    anzeige.textSetzen(bericht);
    QCOMPARE(text1->toPlainText(), QStringLiteral("\n    V E R K A U F S B E L E G \n\n    2 x 2,50    Bier\n"));
    QCOMPARE(text1->document()->blockCount(), 5);
    QCOMPARE(anzeige.text(), bericht);

    // A second text replaces the first one entirely.
    anzeige.textSetzen(QStringLiteral(" F1  = Tastenbelegung anzeigen\r\n"));
    QCOMPARE(anzeige.text(), QStringLiteral(" F1  = Tastenbelegung anzeigen\r\n"));
}

void TestEinstell::anzeigePosition()
{
    QWidget haupt;
    haupt.setGeometry(100, 80, 784, 580);
    haupt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&haupt));
    const QPoint ecke = haupt.pos();

    Anzeige anzeige(&haupt);
    anzeige.show();
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // 3675 twips to the right, 840 twips down.
    QCOMPARE(anzeige.pos(), ecke + QPoint(245, 56));

    QTest::mouseClick(anzeige.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!anzeige.isVisible());
    QVERIFY(haupt.isVisible());

    // Shown again, it stays where the operator put it.
    anzeige.move(ecke + QPoint(10, 10));
    anzeige.show();
    QCOMPARE(anzeige.pos(), ecke + QPoint(10, 10));
}

QTEST_MAIN(TestEinstell)
#include "test_einstell.moc"
