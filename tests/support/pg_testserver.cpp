#include "support/pg_testserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace zanti::test {

namespace {

QList<qint64> Kinder(qint64 eltern)
{
    QList<qint64> kinder;
    const QStringList eintraege = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : eintraege) {
        bool zahl = false;
        const qint64 pid = name.toLongLong(&zahl);
        if (!zahl)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, so count from its end.
        const QByteArray zeile = stat.readAll();
        const QList<QByteArray> felder = zeile.mid(zeile.lastIndexOf(')') + 2).split(' ');
        if (felder.size() > 1 && felder[1].toLongLong() == eltern)
            kinder.append(pid);
    }
    return kinder;
}

// Alive and not a zombie waiting for its parent.
bool Lebt(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray zeile = stat.readAll();
    const qsizetype ende = zeile.lastIndexOf(')');
    return ende > 0 && zeile.size() > ende + 2 && zeile[ende + 2] != 'Z' && zeile[ende + 2] != 'X';
}

} // namespace

PgTestServer::PgTestServer()
    : m_ordner(QDir::tempPath() + QStringLiteral("/zanti-pg-XXXXXX"))
{
    const QDir ordner(m_ordner.path());
    m_daten = ordner.filePath(QStringLiteral("daten"));
    m_socket = ordner.filePath(QStringLiteral("sock"));
    m_log = ordner.filePath(QStringLiteral("log/server.log"));
    for (const char *unter : {"daten", "sock", "log"})
        ordner.mkpath(QString::fromLatin1(unter));
    if (::geteuid() != 0)
        return;
    m_benutzer = qEnvironmentVariable("ZANTI_PG_USER", QStringLiteral("nobody"));
    const passwd *pw = ::getpwnam(m_benutzer.toLocal8Bit().constData());
    if (!pw) {
        m_fehler = QStringLiteral("no user %1 to run PostgreSQL as").arg(m_benutzer);
        return;
    }
    // The server's user must reach its folders; nobody else needs to read them.
    QFile::setPermissions(m_ordner.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               | QFile::ExeGroup | QFile::ExeOther);
    for (const char *unter : {"daten", "sock", "log"})
        if (::chown(ordner.filePath(QString::fromLatin1(unter)).toLocal8Bit().constData(), pw->pw_uid,
                    pw->pw_gid) != 0)
            m_fehler = QStringLiteral("chown failed");
}

PgTestServer::~PgTestServer()
{
    if (laeuft()) {
        auftauen();
        absturz();
    }
}

QString PgTestServer::programmOrdner()
{
    const QString gesetzt = qEnvironmentVariable("ZANTI_PG_BIN");
    if (!gesetzt.isEmpty())
        return QFile::exists(gesetzt + QStringLiteral("/initdb")) ? gesetzt : QString();
    QStringList versionen = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versionen.begin(), versionen.end(),
              [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &v : versionen) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v);
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return {};
}

bool PgTestServer::ausfuehren(const QString &programm, const QStringList &argumente, int wartezeitMs)
{
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    umgebung.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    umgebung.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    umgebung.remove(QStringLiteral("PGDATA"));
    p.setProcessEnvironment(umgebung);
    p.setWorkingDirectory(m_ordner.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    const QString pfad = QDir(programmOrdner()).filePath(programm);
    if (m_benutzer.isEmpty())
        p.start(pfad, argumente);
    else
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_benutzer, QStringLiteral("--"), pfad} + argumente);
    if (!p.waitForFinished(wartezeitMs)) {
        p.kill();
        p.waitForFinished(1000);
        m_fehler = QStringLiteral("%1 did not finish").arg(programm);
        return false;
    }
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    QFile log(m_log);
    log.open(QIODevice::ReadOnly);
    m_fehler = QStringLiteral("%1 failed: %2\n%3")
                   .arg(programm, QString::fromLocal8Bit(p.readAll()), QString::fromLocal8Bit(log.readAll().right(2000)));
    return false;
}

bool PgTestServer::starten()
{
    if (!vorhanden()) {
        m_fehler = QStringLiteral("PostgreSQL is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    if (!m_angelegt) {
        if (!ausfuehren(QStringLiteral("initdb"),
                        {QStringLiteral("-D"), m_daten, QStringLiteral("-U"), QStringLiteral("postgres"),
                         QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                         QStringLiteral("--locale=C"), QStringLiteral("--no-sync")}))
            return false;
        m_angelegt = true;
    }
    // fsync off: the tests kill processes, never the machine, and the page
    // cache survives a killed process.
    const QString optionen = QStringLiteral("-c listen_addresses='' -k %1 -p %2 -c fsync=off "
                                            "-c full_page_writes=off -c timezone=UTC "
                                            "-c max_connections=60 -c shared_buffers=32MB")
                                 .arg(m_socket)
                                 .arg(m_port);
    return ausfuehren(QStringLiteral("pg_ctl"),
                      {QStringLiteral("-D"), m_daten, QStringLiteral("-l"), m_log, QStringLiteral("-w"),
                       QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"), optionen,
                       QStringLiteral("start")},
                      70000);
}

bool PgTestServer::anhalten()
{
    return ausfuehren(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_daten, QStringLiteral("-w"),
                                                 QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")});
}

bool PgTestServer::absturz()
{
    return ausfuehren(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_daten, QStringLiteral("-w"),
                                                 QStringLiteral("-m"), QStringLiteral("immediate"),
                                                 QStringLiteral("stop")});
}

qint64 PgTestServer::postmasterPid() const
{
    QFile datei(m_daten + QStringLiteral("/postmaster.pid"));
    if (!datei.open(QIODevice::ReadOnly))
        return 0;
    return datei.readLine().trimmed().toLongLong();
}

bool PgTestServer::laeuft() const
{
    return Lebt(postmasterPid());
}

bool PgTestServer::signalAnAlle(int signal)
{
    const qint64 postmaster = postmasterPid();
    if (!Lebt(postmaster)) {
        m_fehler = QStringLiteral("the server does not run");
        return false;
    }
    // All of them, listed before the first signal: a killed postmaster's
    // children get another parent.
    QList<qint64> alle{postmaster};
    alle += Kinder(postmaster);
    for (qint64 pid : std::as_const(alle))
        ::kill(pid_t(pid), signal);
    if (signal != SIGKILL)
        return true;
    // Gone for good, not just a zombie: a new postmaster takes a pid that
    // still answers for its lock file's owner.
    const auto weg = [](qint64 pid) { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); };
    for (int i = 0; i < 500; ++i) {
        if (std::all_of(alle.begin(), alle.end(), weg))
            return true;
        QThread::msleep(10);
    }
    m_fehler = QStringLiteral("the server's processes did not end");
    return false;
}

bool PgTestServer::toeten()
{
    return signalAnAlle(SIGKILL);
}

bool PgTestServer::einfrieren()
{
    return signalAnAlle(SIGSTOP);
}

bool PgTestServer::auftauen()
{
    return signalAnAlle(SIGCONT);
}

QString PgTestServer::verbindung(const QString &datenbank, const QString &benutzer) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4").arg(m_socket).arg(m_port).arg(datenbank, benutzer);
}

bool PgTestServer::sql(const QString &befehle, const QString &datenbank)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QDir(programmOrdner()).filePath(QStringLiteral("psql")),
            {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
             QStringLiteral("-d"), verbindung(datenbank), QStringLiteral("-f"), QStringLiteral("-")});
    if (!p.waitForStarted(5000))
        return false;
    p.write(befehle.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_fehler = QString::fromUtf8(p.readAll());
        return false;
    }
    return true;
}

} // namespace zanti::test
