// The printer port against a real pseudo-terminal: what the register writes
// must reach the printer byte for byte, status bytes must come back, and a
// printer that goes away must never take the register with it.
#include "printing/drucker_port.h"
#include "printing/drucker_verbindung.h"
#include "support/pseudo_terminal.h"
#include "support/programmordner.h"

#include <QSignalSpy>
#include "support/testdaten.h"

#include <QHostInfo>
#include <QTcpServer>
#include <QTest>

using namespace zanti;
using namespace zanti::test;
using zanti::test::Programmordner;
using zanti::test::PseudoTerminal;

namespace {

// A port (not open) and the pseudo-terminal it is to open.
struct PortAufPty
{
    PseudoTerminal pty;
    DruckerPort port;
};

} // namespace

class TestDruckerPort : public QObject
{
    Q_OBJECT

private slots:
    void portnummer();
    void ausgabeKommtGenauSoAn();
    void vieleAusgabenBleibenInDerReihe();
    void statusbytesLesen();
    void eingangVerwerfen();
    void oeffnenScheitert();
    void geschlossenerPortVerwirftAusgaben();
    void druckerAbgezogen();
    void netzadressen_data();
    void netzadressen();
};

void TestDruckerPort::portnummer()
{
    PseudoTerminal pty;
    QVERIFY(pty.offen());
    DruckerPort port;
    QCOMPARE(port.CommPort(), 1);

    for (int falsch : {0, -3, 17}) {
        QVERIFY2(!port.CommPortSetzen(falsch), qPrintable(QString::number(falsch)));
        QCOMPARE(port.CommPort(), 1);
    }
    QVERIFY(port.CommPortSetzen(16));
    QVERIFY(port.oeffnen(pty.geraet()));
    QVERIFY(port.PortOpen());

    // While open, the number stays and a second opening is refused.
    QVERIFY(!port.CommPortSetzen(2));
    QCOMPARE(port.CommPort(), 16);
    QVERIFY(!port.oeffnen(pty.geraet()));
    QVERIFY(port.PortOpen());

    port.schliessen();
    QVERIFY(!port.PortOpen());
    QVERIFY(port.CommPortSetzen(2));
    QCOMPARE(port.CommPort(), 2);
}

void TestDruckerPort::ausgabeKommtGenauSoAn()
{
    PseudoTerminal pty;
    QVERIFY(pty.offen());
    DruckerPort port;
    QVERIFY(port.CommPortSetzen(2));
    QVERIFY(port.oeffnen(pty.geraet()));

    // Every byte value, control characters included, goes out unchanged.
    QByteArray alle;
    for (int i = 0; i < 256; ++i)
        alle.append(static_cast<char>(i));
    const QByteArray tab = Bytes({27, 68, 35, 0});
    const QByteArray zeile = QByteArray("Bier\t2,50\n\r\n");
    port.Output(tab);
    port.Output(alle);
    port.Output(zeile);
    QCOMPARE(pty.empfangenBis(tab.size() + alle.size() + zeile.size()), tab + alle + zeile);
    QCOMPARE(pty.empfangen(200), QByteArray());
    QCOMPARE(port.verworfeneAusgaben(), 0);
}

void TestDruckerPort::vieleAusgabenBleibenInDerReihe()
{
    PortAufPty p;
    PseudoTerminal &pty = p.pty;
    DruckerPort &port = p.port;
    QVERIFY(port.oeffnen(pty.geraet()));

    // Far more than the line takes at once: the caller is never held up,
    // and the lines still arrive whole and in order.
    QByteArray erwartet;
    for (int i = 0; i < 2000; ++i) {
        const QByteArray zeile = QByteArray::number(i).rightJustified(6, '0') + QByteArray(35, 'x') + '\n';
        port.Output(zeile);
        erwartet += zeile;
    }
    QCOMPARE(pty.empfangenBis(erwartet.size(), 20000), erwartet);
    QCOMPARE(port.verworfeneAusgaben(), 0);
}

void TestDruckerPort::statusbytesLesen()
{
    PortAufPty p;
    PseudoTerminal &pty = p.pty;
    DruckerPort &port = p.port;
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QByteArray());
    port.InputLenSetzen(0);
    QVERIFY(port.oeffnen(pty.geraet()));

    pty.senden(Bytes({20, 0, 0, 0}));
    QTRY_COMPARE(port.InBufferCount(), 4);
    QCOMPARE(port.Input(), Bytes({20, 0, 0, 0}));
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QByteArray());

    // With an input length, one read takes at most that many.
    port.InputLenSetzen(1);
    pty.senden(Bytes({28, 60}));
    QTRY_COMPARE(port.InBufferCount(), 2);
    QCOMPARE(port.Input(), Bytes({28}));
    QCOMPARE(port.Input(), Bytes({60}));
    QCOMPARE(port.InBufferCount(), 0);
}

void TestDruckerPort::eingangVerwerfen()
{
    PortAufPty p;
    PseudoTerminal &pty = p.pty;
    DruckerPort &port = p.port;
    QVERIFY(port.oeffnen(pty.geraet()));

    pty.senden(Bytes({92, 0, 0, 0}));
    QTRY_COMPARE(port.InBufferCount(), 4);
    port.InBufferCountSetzen(0);
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QByteArray());

    // What comes afterwards is read as usual.
    pty.senden(Bytes({20}));
    QTRY_COMPARE(port.InBufferCount(), 1);
    QCOMPARE(port.Input(), Bytes({20}));
}

void TestDruckerPort::oeffnenScheitert()
{
    Programmordner ordner;
    DruckerPort port;
    QVERIFY(port.CommPortSetzen(3));
    QVERIFY(!port.oeffnen(ordner.datei(QStringLiteral("kein_drucker"))));
    QVERIFY(!port.PortOpen());
    // The number stays, so a message can name it and a retry can use it.
    QCOMPARE(port.CommPort(), 3);
    QVERIFY(port.CommPortSetzen(4));
}

void TestDruckerPort::geschlossenerPortVerwirftAusgaben()
{
    PortAufPty p;
    PseudoTerminal &pty = p.pty;
    DruckerPort &port = p.port;
    QSignalSpy fehler(&port, &DruckerPort::ausgabeFehler);

    port.Output("vorher");
    QCOMPARE(port.verworfeneAusgaben(), 1);
    QCOMPARE(fehler.count(), 1);
    port.Output({});
    QCOMPARE(port.verworfeneAusgaben(), 1);

    QVERIFY(port.oeffnen(pty.geraet()));
    port.Output("offen");
    QCOMPARE(pty.empfangenBis(5), QByteArray("offen"));
    port.schliessen();
    port.Output("danach");
    port.Output("noch");
    QCOMPARE(port.verworfeneAusgaben(), 3);
    QCOMPARE(fehler.count(), 3);

    // Open again, the port writes as before.
    QVERIFY(port.oeffnen(pty.geraet()));
    port.Output("wieder");
    QCOMPARE(pty.empfangenBis(6), QByteArray("wieder"));
    QCOMPARE(port.verworfeneAusgaben(), 3);
}

void TestDruckerPort::druckerAbgezogen()
{
    PortAufPty p;
    PseudoTerminal &pty = p.pty;
    DruckerPort &port = p.port;
    QSignalSpy fehler(&port, &DruckerPort::ausgabeFehler);
    QVERIFY(port.oeffnen(pty.geraet()));
    port.Output("Kopf\n");
    QCOMPARE(pty.empfangenBis(5), QByteArray("Kopf\n"));

    // The plug is pulled in the middle of a receipt.
    pty.schliessen();
    port.Output("Zeile 1\n");
    QTRY_VERIFY(!port.PortOpen());
    QVERIFY(fehler.count() >= 1);
    port.Output("Zeile 2\n");
    port.Output("Zeile 3\n");
    QCOMPARE(port.verworfeneAusgaben(), 3);
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QByteArray());
    QVERIFY(!port.oeffnen(pty.geraet()));
    QTest::qWait(50);
    QVERIFY(!port.PortOpen());
}

void TestDruckerPort::netzadressen_data()
{
    // %1 stands for the port of a listening printer, %2 for a free one.
    QTest::addColumn<QString>("adresse");
    QTest::addColumn<bool>("offen");
    QTest::newRow("Adresse und Port") << "tcp://127.0.0.1:%1" << true;
    QTest::newRow("Rechnername") << "tcp://localhost:%1" << true;
    QTest::newRow("unbekannter Rechner") << "tcp://kein-drucker.invalid:%1" << false;
    QTest::newRow("gross geschrieben, Schraegstrich") << "TCP://127.0.0.1:%1/" << true;
    QTest::newRow("ohne Rechner") << "tcp://:%1" << false;
    QTest::newRow("Port zu gross") << "tcp://127.0.0.1:70000" << false;
    QTest::newRow("mit Pfad") << "tcp://127.0.0.1:%1/drucker" << false;
    QTest::newRow("niemand hoert zu") << "tcp://127.0.0.1:%2" << false;
}

void TestDruckerPort::netzadressen()
{
    QFETCH(QString, adresse);
    QFETCH(bool, offen);
    if (adresse.contains(u"localhost"_qs) && QHostInfo::fromName(u"localhost"_qs).addresses().isEmpty())
        QSKIP("this machine has no address for the name localhost");
    QTcpServer drucker;
    QTcpServer geschlossen;
    QVERIFY(drucker.listen(QHostAddress::LocalHost) && geschlossen.listen(QHostAddress::LocalHost));
    const quint16 frei = geschlossen.serverPort();
    geschlossen.close();
    adresse.replace(u"%1"_qs, QString::number(drucker.serverPort())).replace(u"%2"_qs, QString::number(frei));
    const auto verbindung = VerbindungOeffnen(adresse);
    QCOMPARE(verbindung != nullptr, offen);
}

QTEST_GUILESS_MAIN(TestDruckerPort)
#include "test_drucker_port.moc"
