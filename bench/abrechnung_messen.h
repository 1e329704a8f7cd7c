#pragma once
// The treasurer's statement in the benchmark: figures, CSV and PDF over a
// season of one register's journal and over a large event on a real
// PostgreSQL.
#include <optional>

namespace zanti::bench {

class GrosseVeranstaltung;

// statement_ms_100k: the median of a whole statement (figures, CSV, PDF)
// over 100,000 receipts of one register.
double AbrechnungMessen100k();
// statement_ms_1m_event: the same from the server over the large event's
// 1,000,000 receipt lines; nothing when it could not be laid out.
std::optional<double> VeranstaltungMessen1m(const GrosseVeranstaltung &veranstaltung);

} // namespace zanti::bench
