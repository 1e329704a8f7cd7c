// The sync trials: registers (a driver that writes its journal through the
// persistence API and forwards it) are killed with SIGKILL at random
// instants while the server is stopped, crashed, killed, hung or restarted.
// After each trial the register starts again and forwards what waits; then
// every receipt and void of its journal must be on the server exactly once
// with the journal's sums, and no close may have failed.
#include "support/pg_testserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace zanti::test;

namespace {

constexpr int kKassen = 4;

QString Programm()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"zanti_versand_treiber"_qs);
}

// id -> amount, of one table of one database.
QHash<QString, qint64> Eintraege(QSqlDatabase db, const QString &sql, const QString &kasseId = {})
{
    QHash<QString, qint64> eintraege;
    QSqlQuery q(db);
    q.prepare(sql);
    if (!kasseId.isEmpty())
        q.addBindValue(kasseId);
    if (q.exec())
        while (q.next())
            eintraege.insert(q.value(0).toString(), q.value(1).toLongLong());
    return eintraege;
}

enum Stoerung { Keine, Anhalten, Absturz, Toeten, Einfrieren, Neustart, kStoerungen };

} // namespace

class TestVersandDauerlauf : public QObject
{
    Q_OBJECT

    struct Ergebnis
    {
        int verluste = 0;
        int doppelt = 0;
    };

    // Starts the driver and waits for "bereit".
    bool starten(QProcess &p, const QString &ordner, quint32 seed, const char *modus)
    {
        // libpq's and Qt's complaints about a vanished server are expected here.
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(Programm(), {ordner, QString::number(seed), QString::fromLatin1(modus)});
        if (!p.waitForStarted(5000))
            return false;
        while (!p.canReadLine())
            if (!p.waitForReadyRead(10000))
                return false;
        return p.readLine() == "bereit\n";
    }

    // Journal against server, for one register whose driver is not running.
    Ergebnis pruefen(const QString &ordner)
    {
        Ergebnis e;
        {
            QSqlDatabase hier = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"hier"_qs);
            hier.setDatabaseName(QDir(ordner).filePath(u"daten.db"_qs));
            QSqlDatabase dort = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"dort"_qs);
            dort.setConnectOptions(m_server.verbindung(u"fest"_qs));
            if (!hier.open() || !dort.open()) {
                qWarning("cannot check: %s %s", qPrintable(hier.lastError().text()), qPrintable(dort.lastError().text()));
                e.verluste = 1;
            } else {
                QSqlQuery k(hier);
                k.exec(u"SELECT id FROM Kassenkennung"_qs);
                const QString kasseId = k.next() ? k.value(0).toString() : QString();
                for (const auto &[journalSql, serverSql] :
                     {std::pair{u"SELECT id, summe_cent FROM Beleg"_qs,
                                u"SELECT id::text, summe_cent FROM beleg WHERE kasse_id = CAST(? AS uuid)"_qs},
                      std::pair{u"SELECT id, betrag_cent FROM Storno"_qs,
                                u"SELECT id::text, betrag_cent FROM storno WHERE kasse_id = CAST(? AS uuid)"_qs},
                      std::pair{u"SELECT b.id || '/' || z.pos, z.betrag_cent FROM Belegzeile z JOIN Beleg b ON b.lfd = z.beleg"_qs,
                                u"SELECT z.beleg_id::text || '/' || z.pos, z.betrag_cent FROM belegzeile z "
                                "JOIN beleg b ON b.id = z.beleg_id WHERE b.kasse_id = CAST(? AS uuid)"_qs}}) {
                    const QHash<QString, qint64> journal = Eintraege(hier, journalSql);
                    const QHash<QString, qint64> server = Eintraege(dort, serverSql, kasseId);
                    for (auto it = journal.begin(); it != journal.end(); ++it)
                        e.verluste += server.value(it.key(), -1) != it.value();
                    for (auto it = server.begin(); it != server.end(); ++it)
                        e.doppelt += !journal.contains(it.key());
                }
                m_belege = Eintraege(dort, u"SELECT 'alle', count(*) FROM beleg"_qs).value(u"alle"_qs);
            }
        }
        QSqlDatabase::removeDatabase(u"hier"_qs);
        QSqlDatabase::removeDatabase(u"dort"_qs);
        return e;
    }

    PgTestServer m_server;
    qint64 m_belege = 0;

private slots:
    void initTestCase()
    {
        QVERIFY2(PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(QFile::exists(Programm()), "zanti_versand_treiber is not built");
        QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
        QVERIFY2(m_server.sql(u"CREATE DATABASE fest;"_qs), qPrintable(m_server.fehler()));
    }

    void versuche()
    {
        const int anzahl = qEnvironmentVariableIntValue("ZANTI_SYNC_TRIALS") > 0
            ? qEnvironmentVariableIntValue("ZANTI_SYNC_TRIALS") : 100;
        QRandomGenerator zufall(2027);
        std::array<QTemporaryDir, kKassen> ordner;
        for (int i = 0; i < kKassen; ++i) {
            QFile f(QDir(ordner[i].path()).filePath(u"veranstaltung.ini"_qs));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(u"[Veranstaltung]\r\nName=Dauerlauf\r\nKasse=Kasse %1\r\nServer=%2\r\n"_qs
                        .arg(i + 1)
                        .arg(m_server.verbindung(u"fest"_qs))
                        .toUtf8());
        }
        int verluste = 0, doppelt = 0, fehlgeschlagen = 0;
        for (int versuch = 0; versuch < anzahl; ++versuch) {
            // Two registers sell at once on the one server.
            const QStringList pfade{ordner[(2 * versuch) % kKassen].path(), ordner[(2 * versuch + 1) % kKassen].path()};
            std::array<QProcess, 2> kassen;
            for (int i = 0; i < 2; ++i)
                QVERIFY2(starten(kassen[i], pfade[i], zufall.generate(), "verkaufen"), "the driver did not start");
            const auto stoerung = Stoerung(zufall.bounded(int(kStoerungen)));
            QThread::msleep(zufall.bounded(5, 50));
            bool ok = true;
            switch (stoerung) {
            case Keine: break;
            case Anhalten: ok = m_server.anhalten(); break;
            case Absturz: ok = m_server.absturz(); break;
            case Toeten: ok = m_server.toeten(); break;
            case Einfrieren: ok = m_server.einfrieren(); break;
            case Neustart: ok = m_server.absturz() && m_server.starten(); break;
            case kStoerungen: break;
            }
            QVERIFY2(ok, qPrintable(m_server.fehler()));
            for (QProcess &kasse : kassen) {
                QThread::msleep(zufall.bounded(5, 40));
                ::kill(pid_t(kasse.processId()), SIGKILL);
                kasse.waitForFinished(5000);
                fehlgeschlagen += int(kasse.readAll().count("fehler"));
            }
            if (stoerung == Einfrieren)
                QVERIFY2(m_server.auftauen(), qPrintable(m_server.fehler()));
            else if (!m_server.laeuft())
                QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));

            // Both start again and forward what waits, then journal and server must agree.
            std::array<QProcess, 2> nachsenden;
            for (int i = 0; i < 2; ++i)
                QVERIFY2(starten(nachsenden[i], pfade[i], 0, "nachsenden"), "the driver did not start");
            for (int i = 0; i < 2; ++i) {
                // A thawed or restarted server may take the forwarder a few
                // of its growing pauses to reach; on a loaded machine longer.
                bool fertig = false;
                QDeadlineTimer frist(90000);
                while (!fertig && !frist.hasExpired() && nachsenden[i].waitForReadyRead(int(frist.remainingTime())))
                    fertig = nachsenden[i].readAll().contains("fertig");
                if (!fertig)
                    nachsenden[i].kill();
                nachsenden[i].waitForFinished(5000);
                const Ergebnis e = pruefen(pfade[i]);
                if (e.verluste || e.doppelt || !fertig)
                    qWarning("trial %d (fault %d): %d lost, %d twice%s", versuch, int(stoerung), e.verluste,
                             e.doppelt, fertig ? "" : ", not all sent");
                verluste += e.verluste + (fertig ? 0 : 1);
                doppelt += e.doppelt;
            }
        }
        const QByteArray zeilen = "sync_trials " + QByteArray::number(anzahl) + "\nsync_losses "
            + QByteArray::number(verluste + fehlgeschlagen) + "\nsync_duplicates " + QByteArray::number(doppelt) + "\n";
        std::fputs(zeilen.constData(), stdout);
        qInfo("%lld receipts on the server", m_belege);
        QFile datei(QDir(QCoreApplication::applicationDirPath()).filePath(u"sync.txt"_qs));
        if (datei.open(QIODevice::Append))
            datei.write(zeilen);
        QCOMPARE(fehlgeschlagen, 0);
        QCOMPARE(verluste, 0);
        QCOMPARE(doppelt, 0);
    }
};

QTEST_GUILESS_MAIN(TestVersandDauerlauf)
#include "test_versand_dauerlauf.moc"
