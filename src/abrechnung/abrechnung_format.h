#pragma once
// How the statement writes its figures: German formats, the hours with
// their offset where the clocks changed, the period, default file names.
#include "abrechnung/abrechnung.h"

namespace zanti {

// 1.234,50: with thousands dots, for reading on paper. The CSV keeps
// BetragFormat (no dots), which every spreadsheet reads as a number.
QString BetragLesbar(Cent betrag);
QString ZahlLesbar(qint64 zahl);     // 12.345
QString AnteilFormat(int promille);  // 12,3
QString OffsetText(int offsetS);     // UTC+2, UTC+5:30, UTC-3
QString StundeText(const Stunde &s); // 02:00–03:00
// The hour as the statement labels it: with its offset when the same
// local hour happened twice, and with the date when the period spans days.
QString StundeBeschriftung(const Abrechnung &a, const Stunde &s, bool mitDatum);
QString ZeitText(const Zeitpunkt &zeit); // 08.12.2026 17:03:12, local
// 08.12.2026 | 06.12.2026 – 08.12.2026 | 08.12.2026 18:00 – 08.12.2026 23:30
QString ZeitraumText(const Zeitraum &z);
bool UeberMehrereTage(const Zeitraum &z);
// Abrechnung_theke_2026-12-08 (no extension): name and period, only
// characters every file system takes.
QString DateinameVorschlag(const Abrechnung &a);

} // namespace zanti
