#include "grosse_veranstaltung.h"

#include "support/server_laden.h"

#include <QElapsedTimer>

#include <cstdio>

namespace zanti::bench {

bool GrosseVeranstaltung::anlegen()
{
    if (!test::PgTestServer::vorhanden()) {
        std::fprintf(stderr, "# large event: skipped, PostgreSQL is not installed\n");
        return false;
    }
    QElapsedTimer aufbau;
    aufbau.start();
    // Made inside the server, over two days from 3 July 2026: loading them
    // through a client would take longer than the benchmark itself.
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
    if (!m_server.starten() || !m_server.sql(QStringLiteral("CREATE DATABASE fest"))
        || !m_server.sql(test::ServerSchemaSql(), QStringLiteral("fest"))
        || !m_server.sql(fuellen, QStringLiteral("fest"))) {
        std::fprintf(stderr, "# large event: %s\n", qPrintable(m_server.fehler()));
        return false;
    }
    std::fprintf(stderr, "# large event: server with 1,000,000 lines ready in %.1f s\n", aufbau.elapsed() / 1000.0);
    m_bereit = true;
    return true;
}

} // namespace zanti::bench
