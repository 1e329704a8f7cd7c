#pragma once
// The statement as an A4 PDF through Qt's own PDF writer: page 1 the totals,
// the line for the cash count and the chart of the hours; then articles,
// hours, registers and voids as tables. In DejaVu Sans, embedded, so it
// looks the same from every machine. Needs a QGuiApplication.
#include "abrechnung/abrechnung.h"

#include <QByteArray>

namespace zanti {

// erstellt: when it was made, as page 1 says.
QByteArray AbrechnungPdf(const Abrechnung &a, const QDateTime &erstellt);

} // namespace zanti
