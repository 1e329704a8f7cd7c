#pragma once
// A large event on a PostgreSQL of the benchmark's own, filled once for the
// figures that read it (the statement from the server, the F8 report):
// 250,000 receipts of four lines each, 1,000,000 lines, from 20 registers
// over one day, a void every 50th receipt; event "Bench", database "fest".
#include "support/pg_testserver.h"

namespace zanti::bench {

class GrosseVeranstaltung
{
public:
    // Starts and fills the server; false (with the reason on stderr) when
    // PostgreSQL is not installed or the filling failed.
    bool anlegen();
    bool bereit() const { return m_bereit; }
    QString verbindung() const { return m_server.verbindung(QStringLiteral("fest")); }
    static constexpr qint64 kBelege = 250000;
    static constexpr int kKassen = 20;

private:
    test::PgTestServer m_server;
    bool m_bereit = false;
};

} // namespace zanti::bench
