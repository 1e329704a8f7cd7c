// How a register starts: its command line, the folder it keeps its files in
// (beside itself, or the user's own when it is installed), the sample layout
// a new folder gets, and the real program started that way.
#include "app/befehlszeile.h"
#include "app/programmordner.h"
#include "support/testumgebung.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QWidget>

using namespace zanti;
using namespace zanti::test;

using Aktion = Befehlszeile::Aktion;
Q_DECLARE_METATYPE(Befehlszeile::Aktion)

namespace {

const QString kStandard = u"/home/kasse/.local/share/zanti/Zanti"_qs;

QString Programm()
{
    return QDir(BuildOrdner()).filePath(u"Zanti"_qs);
}

} // namespace

class TestProgrammstart : public QObject
{
    Q_OBJECT

private slots:
    void befehlszeile_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<Aktion>("aktion");
        QTest::addColumn<QString>("ordner");
        QTest::addColumn<bool>("vollbild");
        QTest::addColumn<QString>("text"); // part of the text shown

        QTest::newRow("nichts") << QStringList() << Aktion::Starten << QString() << false << QString();
        QTest::newRow("--ordner DIR") << QStringList{u"--ordner"_qs, u"/srv/fest"_qs} << Aktion::Starten
                                      << u"/srv/fest"_qs << false << QString();
        QTest::newRow("--ordner=DIR mit Leerzeichen")
            << QStringList{u"--vollbild"_qs, u"--ordner=Stand 2"_qs} << Aktion::Starten << u"Stand 2"_qs
            << true << QString();
        QTest::newRow("--help") << QStringList{u"--help"_qs} << Aktion::Hilfe << QString() << false
                                << u"Aufruf: Zanti [--ordner ORDNER] [--vollbild]"_qs;
        QTest::newRow("-h nennt den Standardordner") << QStringList{u"-h"_qs} << Aktion::Hilfe << QString()
                                                     << false << kStandard;
        QTest::newRow("unbekannt") << QStringList{u"--ordner"_qs, u"x"_qs, u"-v"_qs} << Aktion::Fehler
                                   << QString() << false << u"Zanti: Unbekanntes Argument „-v“."_qs;
        // Qt's own options are no exception: the platform comes from QT_QPA_PLATFORM.
        QTest::newRow("Qt-Option") << QStringList{u"-platform"_qs, u"offscreen"_qs} << Aktion::Fehler
                                   << QString() << false << u"„-platform“"_qs;
        QTest::newRow("Ordner fehlt") << QStringList{u"--ordner"_qs} << Aktion::Fehler << QString() << false
                                      << u"Nach --ordner fehlt der Ordner."_qs;
        QTest::newRow("Ordner leer") << QStringList{u"--ordner="_qs} << Aktion::Fehler << QString() << false
                                     << u"Nach --ordner fehlt der Ordner."_qs;
        QTest::newRow("zwei Ordner") << QStringList{u"--ordner=a"_qs, u"--ordner"_qs, u"b"_qs}
                                     << Aktion::Fehler << QString() << false
                                     << u"--ordner ist doppelt angegeben."_qs;
        QTest::newRow("Fehler vor --help") << QStringList{u"x"_qs, u"--help"_qs} << Aktion::Fehler
                                           << QString() << false << u"Hilfe: Zanti --help"_qs;
    }

    void befehlszeile()
    {
        QFETCH(QStringList, argumente);
        QFETCH(Aktion, aktion);
        QFETCH(QString, ordner);
        QFETCH(bool, vollbild);
        QFETCH(QString, text);
        const Befehlszeile b = BefehlszeileLesen(argumente, u"Zanti"_qs, kStandard);
        QCOMPARE(b.aktion, aktion);
        QCOMPARE(b.exitcode(), aktion == Aktion::Fehler ? 2 : 0);
        QCOMPARE(b.ordner, ordner);
        QCOMPARE(b.vollbild, vollbild);
        QVERIFY2(b.text.contains(text), qPrintable(b.text));
    }

    void ordnerWahl_data()
    {
        QTest::addColumn<QString>("befehlszeile");
        QTest::addColumn<bool>("beschreibbar");
        QTest::addColumn<bool>("installiert");
        QTest::addColumn<QString>("erwartet");
        const QString eigener = u"/home/kasse/build/demo"_qs;
        QTest::newRow("eigener Ordner, beschreibbar") << QString() << true << false << eigener;
        QTest::newRow("installiert") << QString() << false << true << kStandard;
        QTest::newRow("kopiert, aber schreibgeschuetzt") << QString() << false << false << kStandard;
        QTest::newRow("installiert, als root") << QString() << true << true << kStandard;
        QTest::newRow("--ordner schlaegt alles") << u"/srv/fest/"_qs << true << false << u"/srv/fest"_qs;
        QTest::newRow("--ordner, installiert") << u"/srv/fest"_qs << false << true << u"/srv/fest"_qs;
    }

    void ordnerWahl()
    {
        QFETCH(QString, befehlszeile);
        QFETCH(bool, beschreibbar);
        QFETCH(bool, installiert);
        QFETCH(QString, erwartet);
        QCOMPARE(ProgrammordnerWaehlen({befehlszeile, u"/home/kasse/build/demo"_qs, beschreibbar,
                                        installiert, kStandard}),
                 erwartet);
        QCOMPARE(Standardordner(u"/home/kasse/.local/share/"_qs, u"Zanti"_qs), kStandard);
    }

    void neuerOrdnerBekommtBeispiel()
    {
        Programmordner basis;
        const QString ordner = basis.datei(u"fest/kasse"_qs);
        QString hinweis, fehler;
        QVERIFY(ProgrammordnerAnlegen(ordner, &hinweis, &fehler));
        QVERIFY2(hinweis.startsWith(u"Der Programmordner der Kasse ist neu angelegt:\n"_qs + ordner + u'\n'),
                 qPrintable(hinweis));
        const QDir d(ordner);
        QStringList dateien = d.entryList(QDir::Files);
        dateien.sort();
        QCOMPARE(dateien, (QStringList{u"Einstellungen.ini"_qs, u"bonkopf.ini"_qs, u"kasse.ini"_qs}));
        QFile kasse(d.filePath(u"kasse.ini"_qs));
        QVERIFY(kasse.open(QIODevice::ReadWrite)); // the user's file, not read-only
        QVERIFY(kasse.readAll().startsWith("[Artikel]\r\nGetraenke1=Cola\r\n"));

        // Once there, the folder is the user's: nothing is added or said.
        QVERIFY(QFile::remove(d.filePath(u"bonkopf.ini"_qs)));
        hinweis.clear();
        QVERIFY(ProgrammordnerAnlegen(ordner, &hinweis, &fehler));
        QVERIFY(hinweis.isEmpty());
        QVERIFY(!d.exists(u"bonkopf.ini"_qs));

        // Under a file no folder can be made.
        basis.schreiben(u"datei"_qs, "x");
        QVERIFY(!ProgrammordnerAnlegen(basis.datei(u"datei/kasse"_qs), &hinweis, &fehler));
        QCOMPARE(fehler, u"Der Programmordner „%1“ kann nicht angelegt werden."_qs.arg(basis.datei(u"datei/kasse"_qs)));
    }

    void programmAufruf_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("exitcode");
        QTest::addColumn<QByteArray>("ausgabe"); // start of stdout
        QTest::addColumn<QByteArray>("fehler");  // start of stderr
        QTest::newRow("--help") << QStringList{u"--help"_qs} << 0 << QByteArray("Aufruf: Zanti ")
                                << QByteArray();
        QTest::newRow("falsch") << QStringList{u"--ordnr"_qs, u"x"_qs} << 2 << QByteArray()
                                << QByteArray("Zanti: Unbekanntes Argument");
    }

    // No screen is needed and nothing is written for a command line that
    // does not start the register.
    void programmAufruf()
    {
        QFETCH(QStringList, argumente);
        QFETCH(int, exitcode);
        QFETCH(QByteArray, ausgabe);
        QFETCH(QByteArray, fehler);
        QVERIFY2(QFile::exists(Programm()), "Zanti is not built");
        Programmordner ordner;
        const QString kopie = ordner.datei(u"Zanti"_qs);
        QVERIFY(QFile::copy(Programm(), kopie));
        QProcess p;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.remove(u"QT_QPA_PLATFORM"_qs);
        umgebung.remove(u"DISPLAY"_qs);
        p.setProcessEnvironment(umgebung);
        p.start(kopie, argumente);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), exitcode);
        QVERIFY(p.readAllStandardOutput().startsWith(ausgabe));
        QVERIFY(p.readAllStandardError().startsWith(fehler));
        QCOMPARE(QDir(ordner.pfad()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Zanti"_qs});
    }

    // --ordner with a folder not yet there: made with the sample, told on
    // stderr, and the register keeps its files in it, not beside itself.
    void programmMitNeuemOrdner()
    {
        QVERIFY2(QFile::exists(Programm()), "Zanti is not built");
        Programmordner eigener, daten;
        const QString kopie = eigener.datei(u"Zanti"_qs);
        QVERIFY(QFile::copy(Programm(), kopie));
        const QString ordner = daten.datei(u"stand"_qs);
        QProcess p;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        p.setProcessEnvironment(umgebung);
        p.start(kopie, {u"--ordner"_qs, ordner});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ordner + u"/daten.db"_qs), 20000);
        p.terminate();
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardError().contains("ist neu angelegt:\n" + ordner.toLocal8Bit() + '\n'));
        QVERIFY(QFile::exists(ordner + u"/verkauf.ini"_qs));
        QVERIFY(QFile(ordner + u"/kasse.ini"_qs).size() > 0);
        QCOMPARE(QDir(eigener.pfad()).entryList(QDir::Files), QStringList{u"Zanti"_qs});
    }
};

QTEST_MAIN(TestProgrammstart)
#include "test_programmstart.moc"
