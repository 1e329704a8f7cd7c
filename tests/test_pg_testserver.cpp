// The test server plays the faults the forwarder must survive: each one is
// seen by a real client as it would be on a real network.
#include "support/pg_testserver.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace zanti::test;

namespace {

// Opens, asks for one number and closes; -1 when that fails.
int Abfragen(const PgTestServer &server)
{
    int ergebnis = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("probe"));
        db.setConnectOptions(QStringLiteral("connect_timeout=2 ") + server.verbindung());
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT 41 + 1")) && q.next())
                ergebnis = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return ergebnis;
}

} // namespace

class TestPgTestServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")), "Qt's QPSQL driver is missing");
    }

    void stoerungen_data()
    {
        QTest::addColumn<QString>("stoerung");
        QTest::newRow("stop") << "anhalten";
        QTest::newRow("crash") << "absturz";
        QTest::newRow("kill") << "toeten";
        QTest::newRow("hang") << "einfrieren";
    }

    // While the fault lasts no client gets an answer; afterwards the server
    // answers again with what it held.
    void stoerungen()
    {
        QFETCH(QString, stoerung);
        PgTestServer server;
        QVERIFY2(server.starten(), qPrintable(server.fehler()));
        QVERIFY2(server.sql(QStringLiteral("CREATE TABLE t (x int); INSERT INTO t VALUES (7);")),
                 qPrintable(server.fehler()));
        QCOMPARE(Abfragen(server), 42);

        const bool ok = stoerung == u"anhalten"_qs ? server.anhalten()
            : stoerung == u"absturz"_qs            ? server.absturz()
            : stoerung == u"toeten"_qs             ? server.toeten()
                                                   : server.einfrieren();
        QVERIFY2(ok, qPrintable(server.fehler()));
        QCOMPARE(Abfragen(server), -1);
        QVERIFY2(stoerung == u"einfrieren"_qs ? server.auftauen() : server.starten(), qPrintable(server.fehler()));
        QCOMPARE(Abfragen(server), 42);
        QVERIFY2(server.sql(QStringLiteral("SELECT x FROM t WHERE x = 7;")), qPrintable(server.fehler()));
    }
};

QTEST_GUILESS_MAIN(TestPgTestServer)
#include "test_pg_testserver.moc"
