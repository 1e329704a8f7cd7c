#pragma once
// A PostgreSQL of the test's own: initdb into a temporary folder, the socket
// in that folder, no TCP port. As root the server runs as an unprivileged
// user through runuser (initdb refuses root). It can be stopped, crashed,
// killed, hung (SIGSTOP) and thawed (SIGCONT) like a real server that fails.
// No widgets: links Qt Core and Qt Sql only.
#include <QString>
#include <QTemporaryDir>

namespace zanti::test {

class PgTestServer
{
public:
    PgTestServer();
    ~PgTestServer(); // crashes the server and removes its folder
    PgTestServer(const PgTestServer &) = delete;
    PgTestServer &operator=(const PgTestServer &) = delete;

    // The folder with initdb, pg_ctl and postgres: $ZANTI_PG_BIN, else the
    // newest under /usr/lib/postgresql; empty when none is installed.
    static QString programmOrdner();
    static bool vorhanden() { return !programmOrdner().isEmpty(); }

    // initdb on the first call, then starts and waits until it accepts.
    bool starten();
    bool anhalten();       // pg_ctl stop -m fast
    bool absturz();        // pg_ctl stop -m immediate: no shutdown checkpoint
    bool toeten();         // SIGKILL to the postmaster and all its processes
    bool einfrieren();     // SIGSTOP to all of them: a server that hangs
    bool auftauen();       // SIGCONT
    bool laeuft() const;

    // A libpq connection string for the socket; the superuser is "postgres",
    // every local user is trusted.
    QString verbindung(const QString &datenbank = QStringLiteral("postgres"),
                       const QString &benutzer = QStringLiteral("postgres")) const;
    QString socketOrdner() const { return m_socket; }
    int port() const { return m_port; }
    // SQL as the superuser through psql; false (and fehler()) on any error.
    bool sql(const QString &befehle, const QString &datenbank = QStringLiteral("postgres"));
    // The last error with the end of the server's log.
    QString fehler() const { return m_fehler; }

private:
    bool ausfuehren(const QString &programm, const QStringList &argumente, int wartezeitMs = 60000);
    qint64 postmasterPid() const;
    bool signalAnAlle(int signal);

    QTemporaryDir m_ordner;
    QString m_daten, m_socket, m_log, m_benutzer;
    int m_port = 5432;
    bool m_angelegt = false;
    QString m_fehler;
};

} // namespace zanti::test
