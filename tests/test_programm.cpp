// The real program in a program folder of its own: the signals of a PC that
// shuts down or a terminal that closes end it as closing the window does.
#include "support/testumgebung.h"

#include <QDateTime>
#include <QDir>
#include <QMap>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace zanti::test;

#ifdef Q_OS_UNIX
#include <csignal>

namespace {

QByteArray Zeilen(const QStringList &zeilen)
{
    QByteArray bytes;
    for (const QString &zeile : zeilen)
        bytes += zeile.toLatin1() + "\r\n";
    return bytes;
}

// The files a first start writes when it ends: nothing sold, the printer
// off (its port is missing), settings it never had read as "Unbekannt".
QByteArray LeereVerkaufszahlen()
{
    QStringList zeilen{u"[verkauft]"_qs};
    for (int i = 1; i <= 36; ++i)
        zeilen << u"Taste%1=0"_qs.arg(i);
    return Zeilen(zeilen);
}

QByteArray ErsteEinstellungen()
{
    return Zeilen({u"[Status]"_qs, u"Einstellung1=0"_qs, u"Einstellung2=0"_qs, u"Einstellung3=0"_qs,
                   u"Einstellung4=Unbekannt"_qs, u"Einstellung5=0"_qs, u"Einstellung6=1"_qs,
                   u"Einstellung7=1"_qs, u"Einstellung8=Unbekannt"_qs, u"Einstellung9=Unbekannt"_qs});
}

// True once the program has its handlers for SIGTERM, SIGINT and SIGHUP in
// place; before that a signal would simply kill it.
bool SignaleAbgefangen(qint64 pid)
{
#ifdef Q_OS_LINUX
    QFile status(u"/proc/%1/status"_qs.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &zeile : status.readAll().split('\n')) {
        if (!zeile.startsWith("SigCgt:"))
            continue;
        bool ok = false;
        const quint64 maske = zeile.mid(7).trimmed().toULongLong(&ok, 16);
        const auto bit = [](int signal) { return quint64(1) << (signal - 1); };
        const quint64 noetig = bit(SIGTERM) | bit(SIGINT) | bit(SIGHUP);
        return ok && (maske & noetig) == noetig;
    }
    return false;
#else
    Q_UNUSED(pid);
    QTest::qWait(1000);
    return true;
#endif
}

// The program copied into a fresh program folder (its own folder), every
// COM port pointing at a device that is not there; empty when not built.
QString ProgrammEinrichten(const Programmordner &ordner)
{
    const QString programm = QDir(BuildOrdner()).filePath(u"Zanti"_qs);
    const QString kopie = ordner.datei(u"Zanti"_qs);
    if (!QFile::exists(programm) || !QFile::copy(programm, kopie)
        || !QFile::setPermissions(kopie, QFile::permissions(programm) | QFile::ExeOwner))
        return {};
    QStringList schnittstellen{u"[COM]"_qs};
    for (int i = 1; i <= 16; ++i)
        schnittstellen << u"COM%1=%2/kein-geraet-%1"_qs.arg(i).arg(ordner.pfad());
    ordner.schreibenZeilen(u"schnittstellen.ini"_qs, schnittstellen);
    return kopie;
}

// Starts the program offscreen. With schritte the test remote (a plugin the
// program loads) reports "BEREIT" on stdout once the window is up, then
// does those steps and reads out and answers every message box.
void Starten(QProcess &zanti, const QString &programm, const QString &schritte = {},
             const QStringList &argumente = {})
{
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    if (!schritte.isNull()) {
        umgebung.insert(u"QT_PLUGIN_PATH"_qs, QDir(BuildOrdner()).filePath(u"testplugins"_qs));
        umgebung.insert(u"QT_QPA_GENERIC_PLUGINS"_qs, u"zantifern:"_qs + schritte);
    }
    zanti.setProcessEnvironment(umgebung);
    zanti.setWorkingDirectory(QDir::tempPath()); // not the program folder
    zanti.start(programm, argumente);
}

bool Bereit(QProcess &zanti, QByteArray &ausgabe)
{
    ausgabe += zanti.readAllStandardOutput();
    return ausgabe.contains("BEREIT\n");
}

// Every file of the folder with its bytes and time of change.
QMap<QString, QPair<QByteArray, QDateTime>> Stand(const Programmordner &ordner)
{
    QMap<QString, QPair<QByteArray, QDateTime>> stand;
    for (const QFileInfo &info : QDir(ordner.pfad()).entryInfoList(QDir::Files | QDir::Hidden))
        stand.insert(info.fileName(), {ordner.lesen(info.fileName()), info.lastModified()});
    return stand;
}

} // namespace
#endif

class TestProgramm : public QObject
{
    Q_OBJECT

private slots:
#ifdef Q_OS_UNIX
    void signalBeendet_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("protokoll"); // empty: no protokoll.txt
        QTest::addColumn<QString>("versperrt");    // a folder where a file belongs
        QTest::addColumn<bool>("beimStart");       // signal as soon as it is caught
        QTest::newRow("SIGTERM") << int(SIGTERM) << QByteArray() << QString() << false;
        QTest::newRow("SIGINT") << int(SIGINT) << QByteArray() << QString() << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << QByteArray() << QString() << false;
        QTest::newRow("SIGTERM mit Protokoll")
            << int(SIGTERM)
            << QByteArray("2 10:00:02  1 x Kaffee   1,50\r\n"
                          "1 10:00:01  2 x K\xe4sebrot   5,00\r\n"
                          "0 10:00:00  1 x Wei\xdf" "bier   3,50\r\n")
            << QString() << false;
        // Nobody is there to press OK: the failure goes to stderr, and the
        // program still ends normally.
        QTest::newRow("SIGTERM, verkauf.ini nicht zu schreiben")
            << int(SIGTERM) << QByteArray() << u"verkauf.ini"_qs << false;
        // A long protocol keeps the start busy while the signal arrives.
        QByteArray lang;
        for (int i = 150000; i-- > 0;)
            lang += QByteArray::number(i) + " 10:00:00  1 x Kaffee   1,50\r\n";
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            QTest::newRow(qPrintable(u"Signal %1 beim Start"_qs.arg(signal)))
                << signal << lang << QString() << true;
    }

    void signalBeendet()
    {
        QFETCH(int, signal);
        QFETCH(QByteArray, protokoll);
        QFETCH(QString, versperrt);
        QFETCH(bool, beimStart);
        // The program folder is the program's own folder.
        Programmordner ordner;
        const QString kopie = ProgrammEinrichten(ordner);
        if (kopie.isEmpty())
            QSKIP("Zanti is not built");
        if (!protokoll.isEmpty())
            ordner.schreiben(u"protokoll.txt"_qs, protokoll);
        if (!versperrt.isEmpty())
            QVERIFY(QDir(ordner.pfad()).mkdir(versperrt));

        QProcess zanti;
        Starten(zanti, kopie);
        QVERIFY2(zanti.waitForStarted(5000), qPrintable(zanti.errorString()));

        if (beimStart) {
            QTRY_VERIFY_WITH_TIMEOUT(SignaleAbgefangen(zanti.processId()), 15000);
        } else {
            // Up: the database is open and the handlers are in place.
            QTRY_VERIFY_WITH_TIMEOUT(ordner.gibt(u"daten.db"_qs) && SignaleAbgefangen(zanti.processId()), 15000);
            QTest::qWait(200);
            QCOMPARE(zanti.state(), QProcess::Running);
        }

        QCOMPARE(::kill(pid_t(zanti.processId()), signal), 0);
        QVERIFY2(zanti.waitForFinished(5000), "the program did not end after the signal");
        const QByteArray fehler = zanti.readAllStandardError();
        QVERIFY2(zanti.exitStatus() == QProcess::NormalExit, fehler.constData());
        QCOMPARE(zanti.exitCode(), 0);
        if (versperrt.isEmpty())
            QVERIFY2(!fehler.contains("nicht gespeichert"), fehler.constData());
        else
            QVERIFY2(fehler.contains("beim Beenden nicht gespeichert: " + versperrt.toLatin1()),
                     fehler.constData());

        // What the shutdown saves; a protocol comes back byte for byte.
        QVERIFY(ordner.gibt(u"protokoll.txt"_qs));
        QCOMPARE(ordner.lesen(u"protokoll.txt"_qs), protokoll);
        if (versperrt.isEmpty())
            QCOMPARE(ordner.lesen(u"verkauf.ini"_qs), LeereVerkaufszahlen());
        else
            QVERIFY(QFileInfo(ordner.datei(versperrt)).isDir());
        QCOMPARE(ordner.lesen(u"Einstellungen.ini"_qs), ErsteEinstellungen());
        // The key layout and the receipt head are not written at shutdown.
        QVERIFY(!ordner.gibt(u"kasse.ini"_qs));
        QVERIFY(!ordner.gibt(u"bonkopf.ini"_qs));
    }

    // A save that fails at the end is reported, and after OK the program
    // ends, whichever way the operator ended it.
    void beendenMitFehler_data()
    {
        QTest::addColumn<QString>("schritte");
        QTest::newRow("ESC") << u"esc"_qs;
        QTest::newRow("Doppelklick auf die Menge") << u"doppelklick:Label2"_qs;
        QTest::newRow("Fenster geschlossen") << u"schliessen"_qs;
    }

    void beendenMitFehler()
    {
        QFETCH(QString, schritte);
        Programmordner ordner;
        const QString kopie = ProgrammEinrichten(ordner);
        if (kopie.isEmpty())
            QSKIP("Zanti is not built");
        QVERIFY(QDir(ordner.pfad()).mkdir(u"protokoll.txt"_qs));

        QProcess zanti;
        Starten(zanti, kopie, schritte);
        QVERIFY2(zanti.waitForFinished(15000), "the program did not end after the message");
        QCOMPARE(zanti.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zanti.exitCode(), 0);
        const QString ausgabe = QString::fromUtf8(zanti.readAllStandardOutput());
        // Before it, the message that the printer's port is missing.
        QVERIFY2(ausgabe.contains(u"BEREIT\n"_qs)
                     && ausgabe.endsWith(u"\nMELDUNG Beim Beenden konnten diese Dateien nicht "
                                         "gespeichert werden: protokoll.txt\n"_qs),
                 qPrintable(ausgabe));
        QVERIFY2(!ausgabe.contains(u"FEHLT"_qs), qPrintable(ausgabe));
    }

    // One register per program folder: a second start is refused and
    // touches nothing; a register that was killed blocks nothing.
    void zweiteKasseImOrdner()
    {
        Programmordner ordner;
        const QString kopie = ProgrammEinrichten(ordner);
        if (kopie.isEmpty())
            QSKIP("Zanti is not built");

        QProcess erste;
        Starten(erste, kopie, u""_qs);
        QByteArray ausgabe;
        QTRY_VERIFY_WITH_TIMEOUT(Bereit(erste, ausgabe), 15000);
        const auto vorher = Stand(ordner);
        QVERIFY(vorher.contains(u"daten.db"_qs));

        QProcess zweite;
        Starten(zweite, kopie, u""_qs);
        QVERIFY2(zweite.waitForFinished(15000), "the second register did not end");
        QCOMPARE(zweite.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zweite.exitCode(), 1);
        QCOMPARE(zweite.readAllStandardOutput(), "MELDUNG Die Kasse l\xc3\xa4uft bereits in diesem Ordner.\n");
        QCOMPARE(Stand(ordner), vorher);
        QCOMPARE(erste.state(), QProcess::Running);

        // Killed as by a power cut: the next start works at once.
        erste.kill();
        QVERIFY(erste.waitForFinished(5000));
        QProcess dritte;
        Starten(dritte, kopie, u""_qs);
        ausgabe.clear();
        QTRY_VERIFY_WITH_TIMEOUT(Bereit(dritte, ausgabe), 15000);
        QVERIFY2(!ausgabe.contains("bereits"), ausgabe.constData());
        dritte.terminate();
        QVERIFY(dritte.waitForFinished(5000));
        QCOMPARE(dritte.exitCode(), 0);
    }

    // A folder named on the command line that does not exist yet is made
    // with the sample layout, and the operator is told where it is.
    void neuerOrdnerWirdGesagt()
    {
        Programmordner ordner;
        const QString kopie = ProgrammEinrichten(ordner);
        if (kopie.isEmpty())
            QSKIP("Zanti is not built");
        const QString neu = ordner.datei(u"stand/kasse"_qs);
        QProcess zanti;
        Starten(zanti, kopie, u"esc"_qs, {u"--ordner"_qs, neu});
        QVERIFY2(zanti.waitForFinished(15000), "the program did not end");
        QCOMPARE(zanti.exitCode(), 0);
        const QString ausgabe = QString::fromUtf8(zanti.readAllStandardOutput());
        QVERIFY2(ausgabe.contains(u"MELDUNG "_qs) && ausgabe.contains(QDir::toNativeSeparators(neu)),
                 qPrintable(ausgabe));
        for (const QString &datei : {u"kasse.ini"_qs, u"Einstellungen.ini"_qs, u"verkauf.ini"_qs})
            QVERIFY2(QFile::exists(neu + u"/"_qs + datei), qPrintable(datei));
    }
#else
    void signalBeendet() { QSKIP("signals are a Unix matter"); }
#endif
};

QTEST_MAIN(TestProgramm)
#include "test_programm.moc"
