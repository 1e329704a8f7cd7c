// The server schema on a real PostgreSQL: created once, upgraded step by
// step in one transaction, a newer one refused, and the registers' role
// may add and read but never change or delete.
#include "support/pg_testserver.h"
#include "veranstaltung/server_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

// A connection that is removed with the scope.
class Verbindung
{
public:
    Verbindung(const QString &conninfo)
    {
        static int nr = 0;
        m_name = QStringLiteral("schema-%1").arg(++nr);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setConnectOptions(QStringLiteral("connect_timeout=5 ") + conninfo);
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
    }
    ~Verbindung()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    // The SQLSTATE of the failure, "" on success.
    QString ausfuehren(const QString &sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql) ? QString() : q.lastError().nativeErrorCode();
    }
    int zahl(const QString &sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
    }

private:
    QString m_name;
};

const QString kBeleg = u"INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, "
                       "summe_cent, druck) VALUES ('%1', 'Fest', 'k', "
                       "'00000000-0000-0000-0000-000000000001', %2, now(), 3600, 250, 1)"_qs;

// A later change of receipt %1: its journal order %2, its time %3 minutes
// from now, the amount given %4.
const QString kNachtrag = u"INSERT INTO beleg_nachtrag (id, beleg_id, kasse_id, nr, zeit, zeit_offset_s, "
                          "gegeben_cent, rueckgeld_cent, druck) VALUES (gen_random_uuid(), '%1', "
                          "'00000000-0000-0000-0000-000000000001', %2, now() + %3 * interval '1 minute', 3600, "
                          "%4, %4 - 250, 3)"_qs;

// Version 1's role, as owners set it up before version 2.
const QString kRolleV1 = u"CREATE ROLE kasse LOGIN; REVOKE CREATE ON SCHEMA public FROM PUBLIC; "
                         "GRANT USAGE ON SCHEMA public TO kasse; GRANT SELECT ON schema_version TO kasse; "
                         "GRANT SELECT, INSERT ON beleg, belegzeile, storno, kasse_stand TO kasse;"_qs;

} // namespace

class TestServerSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
    }

    void init()
    {
        QVERIFY2(m_server.sql(u"DROP DATABASE IF EXISTS fest; DROP ROLE IF EXISTS kasse; CREATE DATABASE fest;"_qs),
                 qPrintable(m_server.fehler()));
    }

    void anlegenUndGleichlassen()
    {
        Verbindung v(m_server.verbindung(u"fest"_qs));
        QSqlDatabase db = v.db();
        for (int mal = 0; mal < 2; ++mal) {
            const SchemaStand stand = SchemaEinrichten(db);
            QCOMPARE(stand.ergebnis, SchemaStand::Bereit);
            QCOMPARE(stand.version, mal == 0 ? 0 : kSchemaVersion);
        }
        QCOMPARE(v.zahl(u"SELECT count(*) FROM schema_version"_qs), 1);
        QCOMPARE(v.zahl(u"SELECT version FROM schema_version"_qs), kSchemaVersion);
        // Six tables and the view.
        QCOMPARE(v.zahl(u"SELECT count(*) FROM information_schema.tables WHERE table_schema = 'public'"_qs), 7);
    }

    void stufen_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("spalte");
        QTest::newRow("upgrade") << u"ALTER TABLE beleg ADD COLUMN bemerkung text;"_qs << int(SchemaStand::Bereit) << 3 << true;
        QTest::newRow("failing step: all of it undone")
            << u"ALTER TABLE beleg ADD COLUMN bemerkung text; SELECT gibt_es_nicht();"_qs << int(SchemaStand::Fehler) << 2 << false;
    }

    // A step runs with the version in one transaction: all or nothing.
    void stufen()
    {
        QFETCH(QString, sql);
        QFETCH(int, ergebnis);
        QFETCH(int, version);
        QFETCH(bool, spalte);
        Verbindung v(m_server.verbindung(u"fest"_qs));
        QSqlDatabase db = v.db();
        QCOMPARE(SchemaEinrichten(db).ergebnis, SchemaStand::Bereit);
        QList<SchemaSchritt> schritte = SchemaSchritte();
        schritte.append({3, sql});
        const SchemaStand stand = SchemaEinrichten(db, schritte);
        QCOMPARE(int(stand.ergebnis), ergebnis);
        QCOMPARE(v.zahl(u"SELECT version FROM schema_version"_qs), version);
        QCOMPARE(v.zahl(u"SELECT count(*) FROM information_schema.columns WHERE column_name = 'bemerkung'"_qs),
                 spalte ? 1 : 0);
    }

    void neueresAbgelehnt()
    {
        Verbindung v(m_server.verbindung(u"fest"_qs));
        QSqlDatabase db = v.db();
        QCOMPARE(SchemaEinrichten(db).ergebnis, SchemaStand::Bereit);
        QCOMPARE(v.ausfuehren(u"UPDATE schema_version SET version = 7"_qs), QString());
        const SchemaStand stand = SchemaEinrichten(db);
        QCOMPARE(stand.ergebnis, SchemaStand::Neuer);
        QCOMPARE(stand.version, 7);
        QCOMPARE(v.zahl(u"SELECT version FROM schema_version"_qs), 7);
        // A register that knows version 1 only: version 2 is newer.
        QCOMPARE(v.ausfuehren(u"UPDATE schema_version SET version = 2"_qs), QString());
        QCOMPARE(SchemaEinrichten(db, SchemaSchritte().mid(0, 1)).ergebnis, SchemaStand::Neuer);
    }

    // Version 1 with a receipt and its role: the role alone may not upgrade
    // and says so; the owner's register upgrades, the receipt stays, the
    // role may then add changes, and the view takes the newest change by
    // the register's order, not by a clock that was set back.
    void aufVersion2()
    {
        const QString beleg = u"00000000-0000-0000-0000-0000000000b1"_qs;
        Verbindung besitzer(m_server.verbindung(u"fest"_qs));
        QSqlDatabase db = besitzer.db();
        QCOMPARE(SchemaEinrichten(db, SchemaSchritte().mid(0, 1)).ergebnis, SchemaStand::Bereit);
        QCOMPARE(besitzer.ausfuehren(kBeleg.arg(beleg).arg(1)), QString());
        QVERIFY2(m_server.sql(kRolleV1, u"fest"_qs), qPrintable(m_server.fehler()));
        Verbindung kasse(m_server.verbindung(u"fest"_qs, u"kasse"_qs));
        QSqlDatabase k = kasse.db();
        QCOMPARE(SchemaEinrichten(k).ergebnis, SchemaStand::KeineRechte);
        QCOMPARE(SchemaEinrichten(db).ergebnis, SchemaStand::Bereit);
        QCOMPARE(besitzer.zahl(u"SELECT version FROM schema_version"_qs), 2);

        QCOMPARE(SchemaEinrichten(k).ergebnis, SchemaStand::Bereit);
        QCOMPARE(kasse.zahl(u"SELECT count(*) FROM beleg_aktuell WHERE gegeben_cent IS NULL AND druck = 1"_qs), 1);
        QCOMPARE(kasse.ausfuehren(kNachtrag.arg(beleg).arg(5).arg(10).arg(1000)), QString());
        QCOMPARE(kasse.ausfuehren(kNachtrag.arg(beleg).arg(6).arg(-10).arg(2000)), QString());
        QCOMPARE(kasse.zahl(u"SELECT gegeben_cent FROM beleg_aktuell"_qs), 2000);
        QCOMPARE(kasse.zahl(u"SELECT druck FROM beleg_aktuell"_qs), 3);
    }

    // The README's role: INSERT and SELECT, nothing else.
    void kassenrolle()
    {
        {
            Verbindung besitzer(m_server.verbindung(u"fest"_qs));
            QSqlDatabase db = besitzer.db();
            QCOMPARE(SchemaEinrichten(db).ergebnis, SchemaStand::Bereit);
        }
        QVERIFY2(!KassenrolleSql().isEmpty(), "kassenrolle.sql in the resources");
        QVERIFY2(m_server.sql(KassenrolleSql(), u"fest"_qs), qPrintable(m_server.fehler()));
        Verbindung kasse(m_server.verbindung(u"fest"_qs, u"kasse"_qs));
        QSqlDatabase db = kasse.db();
        QCOMPARE(SchemaEinrichten(db).ergebnis, SchemaStand::Bereit);
        const QString id = u"00000000-0000-0000-0000-0000000000aa"_qs;
        QCOMPARE(kasse.ausfuehren(kBeleg.arg(id).arg(1)), QString());
        QCOMPARE(kasse.zahl(u"SELECT summe_cent FROM beleg"_qs), 250);
        const QString keinRecht = u"42501"_qs;
        QCOMPARE(kasse.ausfuehren(kNachtrag.arg(id).arg(1).arg(0).arg(500)), QString());
        QCOMPARE(kasse.zahl(u"SELECT gegeben_cent FROM beleg_aktuell"_qs), 500);
        for (const QString &sql : {u"UPDATE beleg SET summe_cent = 1"_qs, u"DELETE FROM beleg"_qs,
                                   u"UPDATE beleg_nachtrag SET druck = 0"_qs, u"DELETE FROM beleg_nachtrag"_qs,
                                   u"TRUNCATE belegzeile"_qs, u"UPDATE schema_version SET version = 2"_qs,
                                   u"DELETE FROM kasse_stand"_qs, u"DROP TABLE storno"_qs,
                                   u"CREATE TABLE nebenbei (x int)"_qs, u"ALTER TABLE beleg DROP COLUMN tisch"_qs})
            QCOMPARE(kasse.ausfuehren(sql), keinRecht);
        QCOMPARE(kasse.zahl(u"SELECT summe_cent FROM beleg"_qs), 250);
    }

    // A role that may not create tables meets an empty database: it says so.
    void keineRechteOhneTabellen()
    {
        QVERIFY2(m_server.sql(u"CREATE ROLE kasse LOGIN; REVOKE CREATE ON SCHEMA public FROM PUBLIC;"_qs, u"fest"_qs),
                 qPrintable(m_server.fehler()));
        Verbindung kasse(m_server.verbindung(u"fest"_qs, u"kasse"_qs));
        QSqlDatabase db = kasse.db();
        const SchemaStand stand = SchemaEinrichten(db);
        QCOMPARE(stand.ergebnis, SchemaStand::KeineRechte);
        QCOMPARE(stand.version, 0);
    }

private:
    PgTestServer m_server;
};

QTEST_GUILESS_MAIN(TestServerSchema)
#include "test_server_schema.moc"
