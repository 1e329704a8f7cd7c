#pragma once
// The register at an event in the benchmark: the real register (window,
// model, forwarder on its own thread) against a PostgreSQL of the
// benchmark's own, and the F8 report's query over the large event.
//
//   forward_lag_ms           median from the click on "=" to the receipt
//                            committed on the server
//   close_ms_server_hung     median close (the click on "=", as close_ms)
//                            while the register's server is SIGSTOPped
//   close_ratio_server_hung  that against the same close of a register alone
//   catchup_per_s            receipts per second reaching the server from a
//                            register that starts with 10,000 unsent
//   catchup_booking_ms       median article key press during that catch-up
//   event_report_ms_1m       the F8 report's query over 1,000,000 lines
#include <functional>

namespace zanti::bench {

class GrosseVeranstaltung;
struct Vorlage;

using Ausgabe = std::function<void(const char *name, double wert)>;
using Gewaehlt = std::function<bool(const char *name)>;

// The figures laeuft() names, each given to ausgeben; none (and the reason
// on stderr) without PostgreSQL or Qt's driver. vorlage: the folder close_ms
// starts from.
void VeranstaltungMessen(const Vorlage &vorlage, const Gewaehlt &laeuft, const Ausgabe &ausgeben);
void VeranstaltungsberichtMessen(const GrosseVeranstaltung &veranstaltung, const Ausgabe &ausgeben);

} // namespace zanti::bench
