// The event server's figures for "make bench", on a PostgreSQL of its own
// (initdb into a temporary folder, as the tests do). One line per figure on
// stdout; without PostgreSQL or Qt's driver it says so on stderr and prints
// none. The register is reduced to its journal here: a close is the
// journal's transaction on daten.db as "=" writes it.
//
//   forward_lag_ms           median from before a close to its receipt on the server
//   catchup_per_s            receipts per second reaching the server after it was away
//                            while 10,000 receipts were closed
//   catchup_close_ms         median close on the same daten.db during that catch-up
//   close_ms_alone           median close without a forwarder
//   close_ratio_server_hung  median close with a forwarder whose server is SIGSTOPped,
//                            against close_ms_alone
//   event_report_ms_1m       the report's query over 1,000,000 receipt lines of 20 registers
#include "support/journal_kasse.h"
#include "support/pg_testserver.h"
#include "veranstaltung/veranstaltungs_zahlen.h"
#include "veranstaltung/weiterleitung.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace zanti;
using namespace zanti::test;

namespace {

// Wall time since construction, in milliseconds.
class Uhr
{
public:
    Uhr() { m_t.start(); }
    double ms() const { return double(m_t.nsecsElapsed()) / 1e6; }

private:
    QElapsedTimer m_t;
};

double Median(QList<double> werte)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const qsizetype n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

void Zahl(const char *name, double wert)
{
    std::printf("%s %.2f\n", name, wert);
    std::fflush(stdout);
}

void Veranstaltung(const QTemporaryDir &ordner, const QString &server)
{
    static int nr = 0;
    QFile f(QDir(ordner.path()).filePath(kVeranstaltungsDatei));
    f.open(QIODevice::WriteOnly);
    f.write(u"[Veranstaltung]\r\nName=Bench\r\nKasse=%1\r\nServer=%2\r\n"_qs.arg(u"Kasse %1"_qs.arg(++nr), server).toUtf8());
}

qint64 Abfrage(QSqlDatabase db, const QString &sql, const QVariantList &werte = {})
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &w : werte)
        q.addBindValue(w);
    return q.exec() && q.next() ? q.value(0).toLongLong() : -1;
}

double SchliessenMs(JournalKasse &kasse, QRandomGenerator &zufall)
{
    Uhr uhr;
    if (!kasse.belegSchliessen(zufall))
        std::fprintf(stderr, "close failed: %s\n", qPrintable(kasse.fehler()));
    return uhr.ms();
}

bool Warten(const std::function<bool()> &bedingung, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!bedingung()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(2);
    }
    return true;
}

class Bench
{
public:
    bool vorbereiten()
    {
        if (!m_server.starten() || !m_server.sql(u"CREATE DATABASE bench;"_qs)) {
            std::fprintf(stderr, "event server figures skipped: %s\n", qPrintable(m_server.fehler()));
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"bench"_qs);
        db.setConnectOptions(m_server.verbindung(u"bench"_qs));
        return db.open();
    }
    QSqlDatabase db() const { return QSqlDatabase::database(u"bench"_qs, false); }

    void vorlauf()
    {
        QTemporaryDir ordner;
        Veranstaltung(ordner, m_server.verbindung(u"bench"_qs));
        JournalKasse kasse(ordner.path(), u"vorlauf"_qs);
        auto w = WeiterleitungStarten(ordner.path(), u"x"_qs).weiterleitung;
        QRandomGenerator zufall(1);
        QList<double> lag;
        Warten([&] { return w->zustand().art == Weiterleitungszustand::Gesendet; }, 10000);
        for (int i = 0; i < 60; ++i) {
            Uhr uhr;
            kasse.belegSchliessen(zufall);
            w->wecken();
            const qint64 nummer = i + 1;
            Warten([&] { return Abfrage(db(), u"SELECT count(*) FROM beleg WHERE kasse_id = CAST(? AS uuid) AND nummer = ?"_qs,
                                        {kasse.kasseId(), nummer}) == 1; },
                   10000);
            lag << uhr.ms();
            QTest::qWait(20);
        }
        Zahl("forward_lag_ms", Median(lag));
    }

    void aufholen()
    {
        QTemporaryDir ordner;
        Veranstaltung(ordner, m_server.verbindung(u"bench"_qs));
        JournalKasse kasse(ordner.path(), u"aufholen"_qs);
        QRandomGenerator zufall(2);
        for (int i = 0; i < 20; ++i)
            kasse.belegeSchliessen(zufall, 500);
        auto w = WeiterleitungStarten(ordner.path(), u"x"_qs).weiterleitung;
        Uhr uhr;
        QList<double> schliessen;
        const auto angekommen = [&] {
            return Abfrage(db(), u"SELECT count(*) FROM beleg WHERE kasse_id = CAST(? AS uuid) AND nummer <= 10000"_qs,
                           {kasse.kasseId()}) == 10000;
        };
        while (!angekommen() && uhr.ms() < 120000) {
            Uhr eine;
            kasse.belegSchliessen(zufall);
            schliessen << eine.ms();
            QTest::qWait(10);
        }
        Zahl("catchup_per_s", 10000.0 / (uhr.ms() / 1000.0));
        Zahl("catchup_close_ms", Median(schliessen));
    }

    void haengend()
    {
        QTemporaryDir alleinOrdner, ordner;
        JournalKasse allein(alleinOrdner.path(), u"allein"_qs);
        Veranstaltung(ordner, m_server.verbindung(u"bench"_qs));
        JournalKasse kasse(ordner.path(), u"haengend"_qs);
        QRandomGenerator zufall(3);
        auto w = WeiterleitungStarten(ordner.path(), u"x"_qs).weiterleitung;
        Warten([&] { return w->zustand().art == Weiterleitungszustand::Gesendet; }, 10000);
        m_server.einfrieren();
        QList<double> ohne, mit;
        // Rounds in turn, so the machine's moods fall on both alike.
        for (int runde = 0; runde < 6; ++runde) {
            for (int i = 0; i < 15; ++i)
                ohne << SchliessenMs(allein, zufall);
            for (int i = 0; i < 15; ++i) {
                mit << SchliessenMs(kasse, zufall);
                w->wecken();
                QTest::qWait(1);
            }
        }
        Zahl("close_ms_alone", Median(ohne));
        Zahl("close_ratio_server_hung", Median(mit) / Median(ohne));
        w.reset();
        m_server.auftauen();
    }

    void bericht()
    {
        // 20 registers, 250,000 receipts of 4 lines each.
        const bool ok = m_server.sql(uR"(
INSERT INTO schema_version SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM schema_version);
INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, summe_cent, druck)
SELECT gen_random_uuid(), 'Gross', 'Kasse ' || (g % 20),
       ('00000000-0000-0000-0000-' || lpad((g % 20)::text, 12, '0'))::uuid, g / 20 + 1,
       timestamptz '2027-06-17 12:00+00' + g * interval '1 second', 7200, 1000, 1
FROM generate_series(0, 249999) g;
INSERT INTO belegzeile (beleg_id, pos, taste, artikel, anzahl, preis_cent, betrag_cent)
SELECT b.id, p, p, 'Artikel ' || ((b.nummer + p) % 30), 1, 250, 250
FROM beleg b, generate_series(1, 4) p WHERE b.veranstaltung = 'Gross';
INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend)
SELECT kasse_id, 'Gross', min(kasse), max(nummer), 0, 0 FROM beleg WHERE veranstaltung = 'Gross' GROUP BY kasse_id;
ANALYZE;
)"_qs, u"bench"_qs);
        if (!ok) {
            std::fprintf(stderr, "event_report_ms_1m skipped: %s\n", qPrintable(m_server.fehler()));
            return;
        }
        QSqlDatabase d = db();
        QList<double> zeiten;
        for (int i = 0; i < 5; ++i) {
            QString fehler;
            Uhr uhr;
            const auto zahlen = VeranstaltungsZahlenLesen(d, u"Gross"_qs, fehler);
            zeiten << uhr.ms();
            if (!zahlen || zahlen->kassen.size() != 20 || zahlen->umsatzCent != 250000LL * 1000)
                std::fprintf(stderr, "event report wrong: %s\n", qPrintable(fehler));
        }
        Zahl("event_report_ms_1m", Median(zeiten));
    }

private:
    PgTestServer m_server;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!PgTestServer::vorhanden() || !QSqlDatabase::isDriverAvailable(u"QPSQL"_qs)) {
        std::fprintf(stderr, "event server figures skipped: no PostgreSQL or no QPSQL driver installed\n");
        return 0;
    }
    Bench bench;
    if (!bench.vorbereiten())
        return 0;
    bench.vorlauf();
    bench.haengend();
    bench.aufholen();
    bench.bericht();
    return 0;
}
