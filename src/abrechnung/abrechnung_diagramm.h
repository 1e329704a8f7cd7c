#pragma once
// The takings per hour as a bar chart, drawn with QPainter: grey bars with
// a black outline and hatching, so a black-and-white copy still shows
// them; every bar carries its amount. Hours without a sale between the
// first and the last stand as empty places; a period of more than two days
// is shown per day instead.
#include "abrechnung/abrechnung.h"

#include <QRectF>

namespace zanti {

class PdfBlatt;

struct Balken
{
    QString beschriftung; // under the bar: the hour or the day
    QString versatz;      // of an hour that happened twice: "+2", then "+1"
    QString datum;        // where the date changes
    Cent betrag = 0;
};

// Whether the chart shows days rather than hours (a period of many days).
bool DiagrammJeTag(const Abrechnung &a);
// The bars of the statement, in the order they happened.
QList<Balken> StundenBalken(const Abrechnung &a);

void DiagrammZeichnen(PdfBlatt &blatt, const QList<Balken> &balken, const QRectF &bereich);

} // namespace zanti
