#pragma once
// The statement as one CSV file for German spreadsheets: ';' between
// fields, decimal comma, UTF-8 with a byte-order mark, CR LF. Every row
// has the same columns; the first names its section (Zeitraum, Quelle,
// Übersicht, Kassenbestand, Artikel, Stunde, Kasse, Storno), so a filter
// on the first column shows one table. Amounts, counts, dates and times
// are written as the spreadsheet reads numbers, never in quotes.
#include "abrechnung/abrechnung.h"

#include <QByteArray>

namespace zanti {

QByteArray AbrechnungCsv(const Abrechnung &a);

} // namespace zanti
