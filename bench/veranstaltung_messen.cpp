#include "veranstaltung_messen.h"

#include "grosse_veranstaltung.h"
#include "register.h"

#include "support/pg_testserver.h"
#include "veranstaltung/veranstaltung_datei.h"
#include "veranstaltung/veranstaltungs_zahlen.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>

namespace zanti::bench {

namespace {

constexpr int kBonZeilen = 20; // a receipt as close_ms closes it
constexpr int kWartend = 10000;
const QString kGesendet = QStringLiteral("Server: alles gesendet");
const QString kVerbindung = QStringLiteral("bench_server");

QByteArray EventDatei(const QString &name, const QString &server)
{
    return QStringLiteral("[Veranstaltung]\r\nName=%1\r\nKasse=%1\r\nServer=%2\r\n").arg(name, server).toUtf8();
}

qint64 Zahl(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(kVerbindung, false));
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

// Runs the event loop until bedingung holds; false after ms.
bool Warten(const std::function<bool()> &bedingung, int ms)
{
    const Uhr uhr;
    while (!bedingung()) {
        if (uhr.stand().wand > ms)
            return false;
        QTest::qWait(1);
    }
    return true;
}

bool AllesGesendet(Register &r, const char *name)
{
    if (Warten([&r] { return r.f.panel(9) == kGesendet; }, 30000))
        return true;
    std::fprintf(stderr, "# warning (%s): the forwarder says \"%s\"\n", name, qPrintable(r.f.panel(9)));
    return false;
}

class Messung
{
public:
    explicit Messung(const Vorlage &vorlage) : m_vorlage(vorlage) {}

    bool vorbereiten()
    {
        if (!test::PgTestServer::vorhanden() || !QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
            std::fprintf(stderr, "# event figures skipped: no PostgreSQL or no QPSQL driver installed\n");
            return false;
        }
        if (!m_server.starten() || !m_server.sql(QStringLiteral("CREATE DATABASE bench;"))) {
            std::fprintf(stderr, "# event figures skipped: %s\n", qPrintable(m_server.fehler()));
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kVerbindung);
        db.setConnectOptions(m_server.verbindung(QStringLiteral("bench")));
        return db.open();
    }

    double vorlauf()
    {
        Register r(m_vorlage, false, {}, event(QStringLiteral("Vorlauf")));
        AllesGesendet(r, "forward_lag_ms");
        QList<double> lag;
        for (int i = 1; i <= 60; ++i) {
            for (int k = 0; k < 3; ++k)
                r.artikel();
            const Uhr uhr;
            r.istgleich();
            const bool da = Warten([i] { return Zahl(QStringLiteral(
                "SELECT count(*) FROM beleg WHERE veranstaltung = 'Vorlauf'")) == i; }, 10000);
            if (!da)
                std::fprintf(stderr, "# warning (forward_lag_ms): receipt %d never arrived\n", i);
            lag << uhr.stand().wand;
        }
        return Median(lag);
    }

    // Closes in turn on a register alone and on one whose server hangs.
    std::pair<double, double> haengend()
    {
        Register allein(m_vorlage, false);
        Register mit(m_vorlage, false, {}, event(QStringLiteral("Haengt")));
        AllesGesendet(mit, "close_ratio_server_hung");
        m_server.einfrieren();
        Beruhigen();
        Reihe ohne, haengt;
        for (int runde = 0; runde < 25; ++runde) {
            for (auto [r, reihe] : {std::pair{&allein, &ohne}, std::pair{&mit, &haengt}}) {
                for (int k = 0; k < kBonZeilen; ++k)
                    r->artikel();
                *reihe << r->istgleich();
            }
        }
        ohne.bericht("close_ms_server_hung, alone");
        haengt.bericht("close_ms_server_hung");
        std::fprintf(stderr, "# close_ms_server_hung: the status bar says \"%s\"\n", qPrintable(mit.f.panel(9)));
        m_server.auftauen();
        return {haengt.median(), ohne.median()};
    }

    // A register whose journal holds 10,000 receipts the server has not
    // seen: the clock runs from its start to the last of them on the server.
    std::pair<double, double> aufholen()
    {
        static const Vorlage wartend(1000, kWartend);
        const QString zaehlen = QStringLiteral(
            "SELECT count(*) FROM beleg WHERE veranstaltung = 'Aufholen' AND zeit < timestamptz '2026-11-01'");
        const Uhr uhr;
        Register r(wartend, false, {}, event(QStringLiteral("Aufholen")));
        Reihe druecke;
        int zeilen = 0;
        const bool da = Warten([&] {
            druecke << r.artikel();
            if (++zeilen == kBonZeilen) {
                r.istgleich();
                zeilen = 0;
            }
            return Zahl(zaehlen) >= kWartend;
        }, 120000);
        const double sekunden = uhr.stand().wand / 1000;
        if (!da)
            std::fprintf(stderr, "# warning (catchup_per_s): %lld of %d arrived\n", Zahl(zaehlen), kWartend);
        druecke.bericht("catchup_booking_ms");
        return {Zahl(zaehlen) / sekunden, druecke.median()};
    }

private:
    QByteArray event(const QString &name) const
    {
        return EventDatei(name, m_server.verbindung(QStringLiteral("bench")));
    }

    const Vorlage &m_vorlage;
    test::PgTestServer m_server;
};

} // namespace

void VeranstaltungMessen(const Vorlage &vorlage, const Gewaehlt &laeuft, const Ausgabe &ausgeben)
{
    Messung messung(vorlage);
    if (!messung.vorbereiten())
        return;
    if (laeuft("forward_lag_ms"))
        ausgeben("forward_lag_ms", messung.vorlauf());
    if (laeuft("close_ratio_server_hung")) {
        const auto [haengt, allein] = messung.haengend();
        ausgeben("close_ms_server_hung", haengt);
        ausgeben("close_ratio_server_hung", allein > 0 ? haengt / allein : 0);
    }
    if (laeuft("catchup_per_s")) {
        const auto [proSekunde, buchen] = messung.aufholen();
        ausgeben("catchup_per_s", proSekunde);
        ausgeben("catchup_booking_ms", buchen);
    }
    QSqlDatabase::removeDatabase(kVerbindung);
}

void VeranstaltungsberichtMessen(const GrosseVeranstaltung &veranstaltung, const Ausgabe &ausgeben)
{
    const QString name = QStringLiteral("bench_bericht");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(veranstaltung.verbindung());
        if (!db.open()) {
            std::fprintf(stderr, "# event_report_ms_1m: the server did not answer\n");
            return;
        }
        QSqlQuery summe(db);
        summe.exec(QStringLiteral("SELECT sum(summe_cent) FROM beleg"));
        const qint64 erwartet = summe.next() ? summe.value(0).toLongLong() : -1;
        Reihe zeiten;
        for (int i = 0; i < 5; ++i) {
            QString fehler;
            const Uhr uhr;
            const auto zahlen = VeranstaltungsZahlenLesen(db, QStringLiteral("Bench"), fehler);
            zeiten << uhr.stand();
            if (!zahlen || zahlen->kassen.size() != GrosseVeranstaltung::kKassen || zahlen->umsatzCent != erwartet
                || zahlen->belege != GrosseVeranstaltung::kBelege)
                std::fprintf(stderr, "# warning: the event report is wrong: %s\n", qPrintable(fehler));
        }
        zeiten.bericht("event_report_ms_1m");
        ausgeben("event_report_ms_1m", zeiten.median());
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace zanti::bench
