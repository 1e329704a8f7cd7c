// Closing a receipt when the disk or the database lets the register down:
// the redo record that a start finishes, a locked or failing database, an
// oversized sum and a full disk. Nothing may be lost and nothing counted twice.
#include "persistence/abschluss.h"
#include "persistence/ini_datei.h"
#include "support/direktzugriff.h"
#include "support/kassen_fixture.h"

#include <QProcess>
#include <QTableView>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>
#endif

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kGesperrt = u"Der Bon konnte nicht abgeschlossen werden, weil die Datenbank daten.db "
                          "nicht geschrieben werden kann. Die Zeilen bleiben offen und werden ab "
                          "jetzt nur im Speicher gehalten. Bitte noch einmal „=“ drücken."_qs;
const QString kImSpeicher = u"Die Datenbank daten.db kann nicht mehr geschrieben werden. "
                            "Der offene Bon wird nur im Speicher gehalten."_qs;

QString Dateifehler(const QString &name)
{
    return u"Die Datei %1 konnte nicht gespeichert werden. Die Daten bleiben erhalten "
           "und werden beim nächsten Mal wieder gespeichert."_qs.arg(name);
}

QString Verkauft(const KassenFixture &f, int taste)
{
    return IniLesen(f.ordner.datei(u"verkauf.ini"_qs), u"verkauft"_qs, u"Taste%1"_qs.arg(taste), 40);
}

int Zeilen(KassenFixture &f)
{
    return f.finden<QTableView>(u"DataGrid1"_qs)->model()->rowCount();
}

void Starten(KassenFixture &f)
{
    f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
    f.starten();
    f.rekorder.meldungen.clear(); // the missing printer
}

} // namespace

class TestKasseAbschluss : public QObject
{
    Q_OBJECT

private slots:
    // What a start writes for a record, by what the files hold.
    void nachholen_data()
    {
        QTest::addColumn<QByteArray>("protokoll"); // "-" = missing
        QTest::addColumn<QByteArray>("verkauf");
        QTest::addColumn<bool>("ersetzen");
        QTest::addColumn<QByteArray>("neuesProtokoll"); // "" = leave alone
        QTest::addColumn<QByteArray>("neuerVerkauf");
        const QByteArray alt = "0 10:00:00  1 x Cola   1,00\r\n";
        QTest::newRow("nichts geschrieben") << alt << QByteArray("V1") << false
                                            << QByteArray("1 neu\r\n") + alt << QByteArray("V2");
        QTest::newRow("Protokoll geschrieben") << QByteArray("1 neu\r\n") + alt << QByteArray("V1")
                                               << false << QByteArray() << QByteArray("V2");
        QTest::newRow("beide geschrieben") << QByteArray("1 neu\r\n") + alt << QByteArray("V2")
                                           << false << QByteArray() << QByteArray();
        QTest::newRow("später weiterverkauft") << QByteArray("2 x\r\n1 neu\r\n") + alt
                                               << QByteArray("V3") << false << QByteArray()
                                               << QByteArray();
        QTest::newRow("gelöschtes Protokoll") << alt << QByteArray("V1") << true
                                              << QByteArray("1 neu\r\n") << QByteArray("V2");
        QTest::newRow("gelöscht, später weiterverkauft") << alt << QByteArray("V3") << true
                                                         << QByteArray() << QByteArray();
    }

    void nachholen()
    {
        QFETCH(QByteArray, protokoll);
        QFETCH(QByteArray, verkauf);
        QFETCH(bool, ersetzen);
        QFETCH(QByteArray, neuesProtokoll);
        QFETCH(QByteArray, neuerVerkauf);
        Abschluss a;
        a.protokollKopf = "1 neu\r\n";
        a.protokollErsetzen = ersetzen;
        a.protokollVorherGroesse = 29; // the old line
        a.verkaufVorher = "V1";
        a.verkaufNachher = "V2";
        const Nachholen n = AbschlussNachholen(a, protokoll, verkauf);
        QCOMPARE(n.protokoll.value_or(QByteArray()), neuesProtokoll);
        QCOMPARE(n.verkauf.value_or(QByteArray()), neuerVerkauf);

        // Missing files are files before their first close.
        Abschluss erster = a;
        erster.protokollVorherGroesse = 0;
        erster.verkaufVorher.clear();
        const Nachholen m = AbschlussNachholen(erster, std::nullopt, std::nullopt);
        QCOMPARE(m.protokoll.value_or(QByteArray()), QByteArray("1 neu\r\n"));
        QCOMPARE(m.verkauf.value_or(QByteArray()), QByteArray("V2"));
    }

    // Another program holds daten.db locked while "=" is pressed.
    void gesperrteDatenbank()
    {
        KassenFixture f;
        Starten(f);
        f.klicken(u"Command1"_qs);
        f.klicken(u"Command2"_qs);
        {
            Direktzugriff sperre(f.ordner.datei(u"daten.db"_qs));
            QVERIFY(sperre.ausfuehren(u"BEGIN IMMEDIATE"_qs));
            f.klicken(u"IstgleichTaste"_qs);
            QCOMPARE(f.rekorder.texte(), QStringList{kGesperrt});
            // Not closed: nothing counted, the lines still open.
            QCOMPARE(f.panel(3), u"0,00"_qs);
            QVERIFY(!f.ordner.gibt(u"verkauf.ini"_qs));
            QCOMPARE(Zeilen(f), 2);
            QVERIFY(f.aktiv(u"IstgleichTaste"_qs));
            QVERIFY(sperre.ausfuehren(u"ROLLBACK"_qs));
        }
        // Closed once, from memory; the register sells on.
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.panel(3), u"3,00"_qs);
        f.klicken(u"Command1"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.panel(3), u"4,00"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        f.schliessen();
        QCOMPARE(Verkauft(f, 36), u"4"_qs);
        QCOMPARE(Verkauft(f, 1), u"2"_qs);

        // The rows that daten.db kept are dropped uncounted at the next start,
        // which works with the file again.
        QCOMPARE(Direktzugriff(f.ordner.datei(u"daten.db"_qs)).lesen(u"SELECT COUNT(*) FROM Bon"_qs),
                 QStringList{u"2"_qs});
        f.rekorder.meldungen.clear();
        f.starten();
        QCOMPARE(f.panel(3), u"4,00"_qs);
        QCOMPARE(Zeilen(f), 0);
        f.klicken(u"Command3"_qs);
        QCOMPARE(Direktzugriff(f.ordner.datei(u"daten.db"_qs)).lesen(u"SELECT Artikel FROM Bon"_qs),
                 QStringList{u"Artikel 3"_qs});
        QVERIFY(!f.rekorder.texte().join(u'\n').contains(u"daten.db"_qs));
    }

    // The database stops taking writes in the middle of a receipt.
    void datenbankFaelltAus()
    {
        KassenFixture f;
        Starten(f);
        f.klicken(u"Command1"_qs);
        Direktzugriff sperre(f.ordner.datei(u"daten.db"_qs));
        QVERIFY(sperre.ausfuehren(u"BEGIN IMMEDIATE"_qs));
        f.klicken(u"Command2"_qs);
        f.klicken(u"Storno"_qs);
        f.klicken(u"Command4"_qs);
        QCOMPARE(f.rekorder.texte(), QStringList{kImSpeicher});
        QCOMPARE(Zeilen(f), 2);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.panel(3), u"5,00"_qs);
        QCOMPARE(f.rekorder.meldungen.size(), 1);
        QVERIFY(f.ordner.lesen(u"protokoll.txt"_qs).contains("-2,00 Storno"));
    }

    // A sum the register cannot hold is refused, and nothing is closed.
    void summeZuGross()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"verkauf.ini"_qs, {u"[verkauft]"_qs, u"Taste36=999999999,50"_qs});
        Starten(f);
        f.klicken(u"Command1"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.rekorder.texte(),
                 QStringList{u"Der Bon kann nicht abgeschlossen werden: die Summe ist zu groß für die Kasse."_qs});
        QCOMPARE(f.panel(3), u"999999999,50"_qs);
        QCOMPARE(Zeilen(f), 1);
        f.klicken(u"Storno"_qs);
        QCOMPARE(Zeilen(f), 0);
    }

    // A real full disk: a small file system of its own in a private mount
    // namespace (needs root; the test runs itself again inside one).
    void vollePlatte()
    {
#ifdef Q_OS_LINUX
        if (qEnvironmentVariable("ZANTI_EIGENER_NAMENSRAUM") != u"1"_qs) {
            if (::geteuid() != 0)
                QSKIP("a private mount namespace needs root");
            QProcess innen;
            QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.insert(u"ZANTI_EIGENER_NAMENSRAUM"_qs, u"1"_qs);
            innen.setProcessEnvironment(umgebung);
            innen.setProcessChannelMode(QProcess::MergedChannels);
            innen.start(u"unshare"_qs, {u"-m"_qs, u"--propagation"_qs, u"private"_qs,
                                        QCoreApplication::applicationFilePath(), u"vollePlatte"_qs});
            QVERIFY2(innen.waitForFinished(60000), "unshare");
            const QByteArray aus = innen.readAll();
            if (aus.contains("unshare failed"))
                QSKIP("no private mount namespace here");
            QVERIFY2(innen.exitCode() == 0, aus.constData());
            QVERIFY2(aus.contains("PASS   : TestKasseAbschluss::vollePlatte()"), aus.constData());
            return;
        }
        KassenFixture f;
        QVERIFY(::mount("tmpfs", QFile::encodeName(f.ordner.pfad()).constData(), "tmpfs", 0,
                        "size=512k") == 0);
        Starten(f);
        f.klicken(u"Command1"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        const QStringList namen{u"protokoll.txt"_qs, u"verkauf.ini"_qs, u"Einstellungen.ini"_qs};
        QMap<QString, QByteArray> vorher;
        for (const QString &name : namen)
            vorher[name] = f.ordner.lesen(name);
        QVERIFY(vorher[u"verkauf.ini"_qs].contains("Taste36=1\r\n"));

        // Every byte of the disk taken.
        QFile fueller(f.ordner.datei(u"fueller"_qs));
        QVERIFY(fueller.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (fueller.write(block) == block.size()) {}
        while (fueller.write(block.left(1)) == 1) {}
        fueller.close();

        f.rekorder.meldungen.clear();
        f.klicken(u"Command2"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        if (f.aktiv(u"IstgleichTaste"_qs)) // daten.db had no room either
            f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.panel(3), u"3,00"_qs);
        for (const QString &name : namen) {
            QVERIFY2(f.rekorder.texte().contains(Dateifehler(name)), qPrintable(f.rekorder.texte().join(u'\n')));
            QCOMPARE(f.ordner.lesen(name), vorher[name]);
        }

        // Room again: the next save writes everything, the missed receipt too.
        QVERIFY(fueller.remove());
        f.klicken(u"Command3"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(Verkauft(f, 36), u"6"_qs);
        QCOMPARE(Verkauft(f, 2), u"1"_qs);
        QCOMPARE(f.ordner.lesen(u"protokoll.txt"_qs).count("\r\n"), 3);
        f.schliessen();
        ::umount(QFile::encodeName(f.ordner.pfad()).constData());
#else
        QSKIP("a full disk is made with a Linux mount namespace");
#endif
    }
};

QTEST_MAIN(TestKasseAbschluss)
#include "test_kasse_abschluss.moc"
