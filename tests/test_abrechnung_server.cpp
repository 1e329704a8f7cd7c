// The statement from the event server, on a real PostgreSQL of the test's
// own: the same receipts give the same figures through --server as through
// --ordner; a register that has not sent everything is flagged; an unknown
// event and a newer schema are refused with German messages.
#include "abrechnung/abrechnung_quelle.h"
#include "persistence/server_verbindung.h"
#include "support/pg_testserver.h"
#include "support/server_laden.h"
#include "support/testjournal.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;

namespace {

const QString kFest = u"Herbstfest"_qs;

// The CSV without what must differ: the source's line and the column that
// only the server knows (whether a register has sent everything).
QStringList Vergleichbar(const QByteArray &csv)
{
    QStringList zeilen = QString::fromUtf8(csv).split(u"\r\n"_qs);
    zeilen.removeIf([](const QString &z) { return z.startsWith(u"Quelle;"_qs); });
    for (QString &z : zeilen) {
        if (z.startsWith(u"Kasse;"_qs))
            z = z.left(z.lastIndexOf(u';'));
    }
    return zeilen;
}

// The program's CSV; its PDF lands in the build folder for a look at it.
QByteArray ProgrammCsv(const QStringList &quelle, const QTemporaryDir &ordner, const QString &name)
{
    const QString pfad = ordner.filePath(name);
    const QString bau = qEnvironmentVariable("ZANTI_BUILD_DIR", QCoreApplication::applicationDirPath());
    QProcess p;
    p.start(bau + u"/zanti_abrechnung"_qs,
            quelle + QStringList{u"--von"_qs, u"24.10.2026"_qs, u"--bis"_qs, u"25.10.2026"_qs, u"--csv"_qs, pfad,
                                 u"--pdf"_qs, u"%1/abrechnung_%2.pdf"_qs.arg(bau, name.chopped(4)),
                                 u"--ueberschreiben"_qs});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qWarning("%s", p.readAllStandardError().constData());
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestAbrechnungServer : public QObject
{
    Q_OBJECT

    test::PgTestServer m_server;
    QTemporaryDir m_kasse;
    QString m_verbindung;

    QSqlDatabase verbinden(const QString &name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_qs, name);
        ServerVerbindungEinrichten(db, m_verbindung);
        db.open();
        return db;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(test::PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
        QVERIFY2(m_server.sql(u"CREATE DATABASE fest"_qs), qPrintable(m_server.fehler()));
        const QString schema = test::ServerSchemaSql();
        QVERIFY(!schema.isEmpty());
        QVERIFY2(m_server.sql(schema, u"fest"_qs), qPrintable(m_server.fehler()));
        m_verbindung = m_server.verbindung(u"fest"_qs);

        test::TestJournal j(m_kasse.filePath(u"daten.db"_qs), u"Theke"_qs);
        test::NachtAnlegen(j);
        QSqlDatabase server = verbinden(u"laden"_qs);
        QVERIFY2(server.isOpen(), qPrintable(server.lastError().text()));
        QSqlDatabase journal = j.db();
        QString fehler;
        QVERIFY2(test::JournalAufServer(journal, server, kFest, fehler), qPrintable(fehler));
    }
    void cleanupTestCase()
    {
        QSqlDatabase::removeDatabase(u"laden"_qs);
    }

    void serverUndOrdnerGleich()
    {
        QTemporaryDir ordner;
        const QByteArray ausJournal = ProgrammCsv({u"--ordner"_qs, m_kasse.path()}, ordner, u"ordner.csv"_qs);
        const QByteArray vomServer =
            ProgrammCsv({u"--server"_qs, m_verbindung, u"--veranstaltung"_qs, kFest}, ordner, u"server.csv"_qs);
        QVERIFY(ausJournal.contains("Übersicht;Umsatz;;;;;7;;37,00;;;;"));
        QCOMPARE(Vergleichbar(vomServer), Vergleichbar(ausJournal));
        QVERIFY(vomServer.contains("Kasse;;Theke;;;;6;;35,00;;3;11,50;ja"));
    }

    void nichtAllesGesendet_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("es wartet noch etwas")
            << u"INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend) "
               "SELECT kasse_id, veranstaltung, kasse, letzte_nummer, stornos, 2 FROM kasse_stand WHERE kasse = 'Theke'"_qs;
        QTest::newRow("ein Bon fehlt auf dem Server")
            << u"INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend) "
               "SELECT kasse_id, veranstaltung, kasse, letzte_nummer + 1, stornos, 0 FROM kasse_stand WHERE kasse = 'Theke'"_qs;
    }
    void nichtAllesGesendet()
    {
        QFETCH(QString, sql);
        QVERIFY(m_server.sql(u"CREATE TABLE stand_vorher AS SELECT * FROM kasse_stand; "_qs + sql, u"fest"_qs));
        QString fehler;
        const auto a = AbrechnungVomServer(m_verbindung, kFest, Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler);
        QVERIFY(m_server.sql(u"DELETE FROM kasse_stand; INSERT INTO kasse_stand SELECT * FROM stand_vorher; "
                             "DROP TABLE stand_vorher"_qs,
                             u"fest"_qs));
        QVERIFY2(a, qPrintable(fehler));
        QCOMPARE(a->unvollstaendig(), QStringList{u"Theke"_qs});
        QCOMPARE(a->umsatz, 3700);
    }

    void abgelehnt()
    {
        QString fehler;
        const Zeitraum tag = Zeitraum::Tage({2026, 10, 24}, {2026, 10, 24});
        QVERIFY(!AbrechnungVomServer(m_verbindung, u"Sommerfest"_qs, tag, fehler));
        QCOMPARE(fehler, u"Die Veranstaltung „Sommerfest“ ist auf dem Server nicht bekannt. Bekannt sind: Herbstfest."_qs);

        QVERIFY(m_server.sql(u"UPDATE schema_version SET version = 3"_qs, u"fest"_qs));
        QVERIFY(!AbrechnungVomServer(m_verbindung, kFest, tag, fehler));
        QCOMPARE(fehler, u"Der Server hat eine neuere Fassung der Tabellen (3), als dieses Programm lesen kann (2). "
                         "Bitte das Programm aktualisieren."_qs);
        QVERIFY(m_server.sql(u"UPDATE schema_version SET version = 1"_qs, u"fest"_qs));
    }
};

QTEST_GUILESS_MAIN(TestAbrechnungServer)
#include "test_abrechnung_server.moc"
