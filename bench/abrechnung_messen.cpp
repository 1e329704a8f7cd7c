#include "abrechnung_messen.h"

#include "messen.h"

#include "abrechnung/abrechnung_csv.h"
#include "abrechnung/abrechnung_pdf.h"
#include "abrechnung/abrechnung_quelle.h"
#include "support/pg_testserver.h"
#include "support/server_laden.h"
#include "support/testjournal.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace zanti::bench {

namespace {

constexpr int kRunden = 5;

// One whole statement: figures from the source, then both files' bytes.
template <typename Quelle>
double Messen(const char *name, Quelle quelle)
{
    Reihe zeiten, zahlen, pdf;
    for (int i = 0; i < kRunden; ++i) {
        const Uhr uhr;
        QString fehler;
        const std::optional<Abrechnung> a = quelle(fehler);
        if (!a) {
            std::fprintf(stderr, "# %s: %s\n", name, qPrintable(fehler));
            return 0;
        }
        zahlen << uhr.stand();
        const QByteArray csv = AbrechnungCsv(*a);
        const Uhr pdfUhr;
        const QByteArray datei = AbrechnungPdf(*a, QDateTime::currentDateTime());
        pdf << pdfUhr.stand();
        zeiten << uhr.stand();
        if (i == 0)
            std::fprintf(stderr, "# %s: %lld receipts, %lld articles, %lld hours, PDF %lld bytes\n", name,
                         static_cast<long long>(a->belege), static_cast<long long>(a->artikel.size()),
                         static_cast<long long>(a->stunden.size()), static_cast<long long>(datei.size()));
    }
    zahlen.bericht(qPrintable(QStringLiteral("%1, figures from the source").arg(QLatin1String(name))));
    pdf.bericht(qPrintable(QStringLiteral("%1, PDF").arg(QLatin1String(name))));
    zeiten.bericht(name);
    return zeiten.median();
}

} // namespace

double AbrechnungMessen100k()
{
    QTemporaryDir ordner;
    {
        QElapsedTimer aufbau;
        aufbau.start();
        test::TestJournal j(ordner.filePath(QStringLiteral("daten.db")), QStringLiteral("Theke"));
        j.viele(100000, test::LokalZeit(QStringLiteral("2026-07-01 10:00:00"), 7200));
        std::fprintf(stderr, "# statement_ms_100k: journal of 100,000 receipts built in %.1f s\n",
                     aufbau.elapsed() / 1000.0);
    }
    const Zeitraum saison = Zeitraum::Tage({2026, 7, 1}, {2026, 7, 31});
    return Messen("statement_ms_100k",
                  [&](QString &fehler) { return AbrechnungAusOrdner(ordner.path(), saison, fehler); });
}

std::optional<double> VeranstaltungMessen1m()
{
    if (!test::PgTestServer::vorhanden()) {
        std::fprintf(stderr, "# statement_ms_1m_event: skipped, PostgreSQL is not installed\n");
        return std::nullopt;
    }
    test::PgTestServer server;
    QElapsedTimer aufbau;
    aufbau.start();
    // 250,000 receipts of four lines each from 20 registers over two days,
    // made inside the server: loading them through a client would take
    // longer than the benchmark itself.
    const QString fuellen = QStringLiteral(R"(
        CREATE TEMP TABLE nr AS SELECT g, (g % 20) AS k FROM generate_series(0, 249999) g;
        INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, summe_cent, druck)
          SELECT md5('b' || g)::uuid, 'Bench', 'Kasse ' || lpad(k::text, 2, '0'), md5('k' || k)::uuid, g / 20 + 1,
                 timestamptz '2026-07-03 06:00:00+00' + g * interval '600 milliseconds', 7200,
                 (SELECT sum(250 * (1 + (g + p) % 3)) FROM generate_series(1, 4) p), 1
          FROM nr;
        INSERT INTO belegzeile (beleg_id, pos, taste, artikel, anzahl, preis_cent, betrag_cent)
          SELECT md5('b' || g)::uuid, p, (g + p) % 30 + 1, 'Artikel ' || ((g + p) % 30 + 1), 1 + (g + p) % 3, 250,
                 250 * (1 + (g + p) % 3)
          FROM nr, generate_series(1, 4) p;
        INSERT INTO storno (id, veranstaltung, kasse, kasse_id, zeit, zeit_offset_s, beleg_nummer, taste, artikel,
                            anzahl, betrag_cent)
          SELECT md5('s' || g)::uuid, 'Bench', 'Kasse ' || lpad(k::text, 2, '0'), md5('k' || k)::uuid,
                 timestamptz '2026-07-03 06:00:00+00' + g * interval '600 milliseconds', 7200, g / 20 + 1, 1,
                 'Artikel 1', 1, 250
          FROM nr WHERE g % 50 = 0;
        INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend)
          SELECT kasse_id, 'Bench', kasse, max(nummer), 0, 0 FROM beleg GROUP BY kasse_id, kasse;
        ANALYZE;
    )");
    if (!server.starten() || !server.sql(QStringLiteral("CREATE DATABASE fest"))
        || !server.sql(test::ServerSchemaSql(), QStringLiteral("fest")) || !server.sql(fuellen, QStringLiteral("fest"))) {
        std::fprintf(stderr, "# statement_ms_1m_event: %s\n", qPrintable(server.fehler()));
        return std::nullopt;
    }
    std::fprintf(stderr, "# statement_ms_1m_event: server with 1,000,000 lines ready in %.1f s\n",
                 aufbau.elapsed() / 1000.0);
    const QString verbindung = server.verbindung(QStringLiteral("fest"));
    const Zeitraum fest = Zeitraum::Tage({2026, 7, 3}, {2026, 7, 5});
    return Messen("statement_ms_1m_event", [&](QString &fehler) {
        return AbrechnungVomServer(verbindung, QStringLiteral("Bench"), fest, fehler);
    });
}

} // namespace zanti::bench
