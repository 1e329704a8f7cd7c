// The printer as the register window sees it, whatever carries it: a network
// printer and a device that is no serial line end to end, the queue that
// must reach the printer before the program ends, and device names or lock
// files that must never stop the start.
#include "escpos/escpos_decoder.h"
#include "printing/drucker_port.h"
#include "persistence/bon_tabelle.h"
#include "persistence/schnittstellen.h"
#include "support/kassen_fixture.h"
#include "support/pseudo_terminal.h"
#include "support/socket_drucker.h"
#include "support/testdaten.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>
#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kNichtOffen = u"Schnittstelle an COM 1 kann nicht geöffnet werden!"_qs;

// COM 1 names geraet; the printer is on COM 1; the sample key layout.
void Einrichten(KassenFixture &f, const QString &geraet)
{
    f.ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + geraet});
    f.ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung6=1"_qs});
    f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
}

QStringList BonMitte(const QByteArray &roh)
{
    EscPosDecoder papier;
    papier.einspeisen(roh);
    const QStringList bons = papier.fertigeBons();
    if (bons.size() != 1 || papier.unbekannteBytes() != 0)
        return {u"%1 Bons, %2 unbekannte Bytes"_qs.arg(bons.size()).arg(papier.unbekannteBytes())};
    // Between the header rule and the foot rule.
    const QStringList zeilen = bons.first().split(u'\n');
    const QString linie(42, u'_');
    const qsizetype von = zeilen.indexOf(linie);
    return zeilen.mid(von + 1, zeilen.lastIndexOf(linie) - von - 1);
}

} // namespace

class TestDruckerAnschluss : public QObject
{
    Q_OBJECT

private slots:
    void druckerArten_data();
    void druckerArten();
    void warteschlangeVorDemEnde();
    void steuerzeichenUndAlteSperre();
};

void TestDruckerAnschluss::druckerArten_data()
{
    QTest::addColumn<bool>("netz");
    QTest::newRow("Netzwerkdrucker") << true;
    QTest::newRow("Geraet: lokaler Socket") << false;
}

void TestDruckerAnschluss::druckerArten()
{
    QFETCH(bool, netz);
#ifndef Q_OS_UNIX
    if (!netz)
        QSKIP("printer devices that are no serial line exist on Unix only");
#endif
    KassenFixture f;
    std::unique_ptr<SocketDrucker> drucker = netz
        ? std::make_unique<SocketDrucker>()
        : std::make_unique<SocketDrucker>(f.ordner.datei(u"lp0"_qs));
    QVERIFY(drucker->bereit());
    Einrichten(f, drucker->adresse());
    f.starten();
    QCOMPARE(f.rekorder.texte(), QStringList());
    QCOMPARE(f.panel(5), u"F2 - Drucker ein"_qs);
    QCOMPARE(drucker->empfangenBis(kStart.size()), kStart);

    // A receipt, read back as paper.
    f.klicken(u"Taste02"_qs);
    f.klicken(u"Command3"_qs);
    f.klicken(u"Command12"_qs);
    f.klicken(u"IstgleichTaste"_qs);
    const QByteArray roh = drucker->empfangen(3000);
    QVERIFY2(roh.startsWith(kSchublade) && roh.endsWith(kSchnitt), roh.toHex(' ').left(60).constData());
    QCOMPARE(BonMitte(roh.mid(kSchublade.size())),
             (QStringList{u"0"_qs, {}, u"2 x Artikel 3"_qs.leftJustified(35) + u"6,00 E"_qs,
                          u"1 x Artikel 12"_qs.leftJustified(35) + u"12,00 E"_qs, {},
                          u"    GESAMT"_qs.leftJustified(35) + u"18,00 E"_qs}));

    // The status comes back on the same way.
    drucker->senden(Bytes({20, 0, 0, 0}));
    QTRY_COMPARE_WITH_TIMEOUT(f.panel(8), u"Drucker bereit "_qs, 2000);

    // The connection breaks while the next receipt is on its way: the sale
    // stays booked, the operator sees the fault.
    f.klicken(u"Command5"_qs);
    f.klicken(u"IstgleichTaste"_qs);
    drucker->trennen();
    QTRY_COMPARE_WITH_TIMEOUT(f.panel(8), u" Fehler   1 Bon wartet"_qs, 2000);
    QTRY_VERIFY(!f.kasse().druckerPort().PortOpen());
    QVERIFY(f.kasse().druckerPort().verworfeneAusgaben() > 0);
    QCOMPARE(f.kasse().bonTabelle().anzahl(), 0);
    QCOMPARE(f.panel(3), u"23,00"_qs);
    QVERIFY(f.kasse().protokollText().contains(u"Artikel 5"_qs));
    QCOMPARE(f.panel(5), u"F2 - Drucker ein"_qs);

    // F2 connects again, and printing goes on.
    QTest::keyClick(&f.kasse(), Qt::Key_F2);
    QTRY_COMPARE_WITH_TIMEOUT(drucker->verbindungen(), 2, 2000);
    QCOMPARE(drucker->empfangenBis(kEinschalten.size()), kEinschalten);
    QCOMPARE(f.rekorder.texte(), QStringList());
    QCOMPARE(f.panel(5), u"F2 - Drucker ein"_qs);
    QVERIFY(f.kasse().druckerPort().PortOpen());
    f.klicken(u"Command2"_qs);
    f.klicken(u"IstgleichTaste"_qs);
    const QByteArray danach = drucker->empfangen(3000);
    QVERIFY(danach.startsWith(kSchublade));
    QVERIFY(danach.endsWith(kSchnitt));

    // The printer is switched off for good: F2 cannot reach it.
    drucker.reset();
    QTRY_VERIFY(!f.kasse().druckerPort().PortOpen());
    QTest::keyClick(&f.kasse(), Qt::Key_F2);
    QTRY_COMPARE_WITH_TIMEOUT(f.rekorder.ersteZeilen(), QStringList{kNichtOffen}, 3000);
    QCOMPARE(f.panel(5), u"F2 - Drucker aus"_qs);
}

void TestDruckerAnschluss::warteschlangeVorDemEnde()
{
    PseudoTerminal pty;
    QVERIFY(pty.offen());
    KassenFixture f;
    Einrichten(f, pty.geraet());
    f.starten();
    QCOMPARE(pty.empfangenBis(kStart.size()), kStart);

    // Far more than the line takes at once, queued right before the end.
    QByteArray erwartet;
    for (int i = 0; i < 500; ++i)
        erwartet += QByteArray::number(i).rightJustified(5, '0') + QByteArray(34, 'x') + '\n';
    QCOMPARE(erwartet.size(), 20000);
    // Queued on the register's own port, as a long receipt would be.
    DruckerPort &port = *f.kasse().findChild<DruckerPort *>();
    for (qsizetype i = 0; i < erwartet.size(); i += 40)
        port.Output(erwartet.mid(i, 40));

    QElapsedTimer uhr;
    uhr.start();
    const QByteArray angekommen = pty.empfangenWaehrend([&f] { f.schliessen(); }, erwartet.size(), 60000);
    qInfo("%lld of %lld bytes arrived, window closed after %lld ms", qint64(angekommen.size()),
          qint64(erwartet.size()), qint64(uhr.elapsed()));
    QCOMPARE(angekommen, erwartet);
    QCOMPARE(port.verworfeneAusgaben(), 0);
    QVERIFY(!port.PortOpen());
}

void TestDruckerAnschluss::steuerzeichenUndAlteSperre()
{
#ifndef Q_OS_UNIX
    QSKIP("lock files of serial lines are a Unix matter");
#else
    PseudoTerminal pty;
    QVERIFY(pty.offen());
    // A register that died with the port open leaves its lock file behind.
    {
        const pid_t kind = ::fork();
        if (kind == 0) {
            DruckerPort port;
            ::_exit(port.oeffnen(pty.geraet()) ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(kind, &status, 0), kind);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        pty.letzterSchliessenderWeg();
    }

    // Names with control characters are refused like a port that does not
    // open, before they reach the lock files.
    const QStringList falsch{pty.geraet() + QChar(0) + u"x"_qs, pty.geraet() + QChar(1),
                             u"/dev/\x1b[2J"_qs, u"tcp://127.0.0.1:\t9100"_qs};
    for (const QString &name : falsch) {
        KassenFixture f;
        Einrichten(f, name);
        QCOMPARE(ComGeraet(f.ordner.pfad(), 1), name);
        f.starten();
        QCOMPARE(f.rekorder.texte(),
                 QStringList{kNichtOffen + u"\nDer Gerätename in schnittstellen.ini enthält Steuerzeichen."_qs});
        QCOMPARE(f.panel(5), u"F2 - Drucker aus"_qs);
    }
    QCOMPARE(pty.empfangen(200), QByteArray());

    // The stale lock does not keep the printer from working.
    KassenFixture f;
    Einrichten(f, pty.geraet());
    f.starten();
    QCOMPARE(f.rekorder.texte(), QStringList());
    QCOMPARE(f.panel(5), u"F2 - Drucker ein"_qs);
    QCOMPARE(pty.empfangenBis(kStart.size()), kStart);
#endif
}

QTEST_MAIN(TestDruckerAnschluss)
#include "test_drucker_anschluss.moc"
