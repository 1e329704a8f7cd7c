#include "abrechnung/abrechnung_diagramm.h"

#include "abrechnung/abrechnung_format.h"
#include "abrechnung/pdf_blatt.h"

#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QTimeZone>
#include <cmath>

namespace zanti {

namespace {

constexpr qint64 kStundeMs = 3'600'000;
constexpr int kHoechstensStunden = 48;

QList<Balken> TagesBalken(const Abrechnung &a)
{
    QMap<QDate, Cent> tage;
    for (const StundenZahlen &z : a.stunden)
        tage[z.stunde.datum] += z.umsatz;
    QList<Balken> balken;
    if (tage.isEmpty())
        return balken;
    for (QDate tag = tage.firstKey(); tag <= tage.lastKey(); tag = tag.addDays(1))
        balken.append({tag.toString(QStringLiteral("dd.MM.")), {}, {}, tage.value(tag)});
    return balken;
}

// A step of 1, 2, 2.5 or 5 times a power of ten that gives four to eight lines.
qreal Schritt(qreal spanne)
{
    if (spanne <= 0)
        return 1;
    const qreal grob = spanne / 5;
    const qreal zehner = std::pow(10.0, std::floor(std::log10(grob)));
    for (qreal faktor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (faktor * zehner >= grob)
            return faktor * zehner;
    }
    return 10 * zehner;
}

QString EuroAchse(qreal euro)
{
    return BetragLesbar(Cent(std::llround(euro * 100))).chopped(3) + QStringLiteral(" €");
}

} // namespace

bool DiagrammJeTag(const Abrechnung &a)
{
    return !a.stunden.isEmpty()
        && (a.stunden.last().stunde.beginnUtcMs() - a.stunden.first().stunde.beginnUtcMs()) / kStundeMs
               >= kHoechstensStunden;
}

QList<Balken> StundenBalken(const Abrechnung &a)
{
    if (a.stunden.isEmpty())
        return {};
    if (DiagrammJeTag(a))
        return TagesBalken(a);
    const qint64 erste = a.stunden.first().stunde.beginnUtcMs();
    const qint64 letzte = a.stunden.last().stunde.beginnUtcMs();
    QList<Balken> balken;
    qsizetype naechste = 0;
    Stunde zuletzt = a.stunden.first().stunde;
    QDate datumZuletzt;
    for (qint64 beginn = erste; beginn <= letzte; beginn += kStundeMs) {
        Stunde stunde;
        Cent betrag = 0;
        if (naechste < a.stunden.size() && a.stunden[naechste].stunde.beginnUtcMs() == beginn) {
            stunde = a.stunden[naechste].stunde;
            betrag = a.stunden[naechste].umsatz;
            ++naechste;
        } else {
            // An hour without a sale, on the clock of the hour before it.
            const QDateTime lokal = QDateTime::fromMSecsSinceEpoch(beginn + qint64(zuletzt.offsetS) * 1000, QTimeZone::utc());
            stunde = {lokal.date(), lokal.time().hour(), zuletzt.offsetS};
        }
        zuletzt = stunde;
        Balken b{QStringLiteral("%1").arg(stunde.stunde, 2, 10, QLatin1Char('0')), {}, {}, betrag};
        if (stunde.datum != datumZuletzt)
            b.datum = stunde.datum.toString(QStringLiteral("dd.MM."));
        if (a.doppelteStunde(stunde))
            b.versatz = OffsetText(stunde.offsetS).mid(3);
        datumZuletzt = stunde.datum;
        balken.append(b);
    }
    return balken;
}

void DiagrammZeichnen(PdfBlatt &blatt, const QList<Balken> &balken, const QRectF &bereich)
{
    QPainter *p = blatt.painter();
    if (!p || balken.isEmpty())
        return;
    const QFont achse = blatt.schrift(7.5);
    const QFont wert = blatt.schrift(6.5);
    const qreal zeile = blatt.zeilenhoehe(achse);

    Cent hoechster = 0, tiefster = 0;
    for (const Balken &b : balken) {
        hoechster = std::max(hoechster, b.betrag);
        tiefster = std::min(tiefster, b.betrag);
    }
    const qreal schritt = Schritt((hoechster - tiefster) / 100.0);
    const qreal oben = std::ceil(hoechster / 100.0 / schritt) * schritt + (hoechster == 0 ? schritt : 0);
    const qreal unten = std::floor(tiefster / 100.0 / schritt) * schritt;

    const qreal links = blatt.textbreite(achse, EuroAchse(oben)) + blatt.mm(3);
    // Room above the bars for their amounts, below for two lines of labels.
    const qreal klein = blatt.zeilenhoehe(wert);
    const QRectF flaeche(bereich.left() + links, bereich.top() + blatt.mm(12), bereich.width() - links,
                         bereich.height() - blatt.mm(12) - zeile - 2 * klein - blatt.mm(2));
    const auto yVon = [&](qreal euro) { return flaeche.bottom() - (euro - unten) / (oben - unten) * flaeche.height(); };

    p->save();
    for (qreal linie = unten; linie <= oben + schritt / 1000; linie += schritt) {
        const qreal y = yVon(linie);
        p->setPen(QPen(QColor(150, 150, 150), blatt.mm(0.15), std::abs(linie) < 1e-9 ? Qt::SolidLine : Qt::DashLine));
        p->drawLine(QPointF(flaeche.left(), y), QPointF(flaeche.right(), y));
        blatt.text(QRectF(bereich.left(), y - zeile / 2, links - blatt.mm(1.5), zeile), Qt::AlignRight | Qt::AlignVCenter,
                   EuroAchse(linie), achse);
    }

    const qreal fach = flaeche.width() / balken.size();
    const qreal breite = fach * 0.72;
    const qreal null = yVon(0);
    // Amounts stand upright above the bars when one of them is wider than its place.
    bool aufrecht = false;
    for (const Balken &b : balken)
        aufrecht = aufrecht || blatt.textbreite(wert, BetragLesbar(b.betrag)) > fach;
    for (qsizetype i = 0; i < balken.size(); ++i) {
        const Balken &b = balken[i];
        const qreal x = flaeche.left() + i * fach + (fach - breite) / 2;
        const qreal y = yVon(b.betrag / 100.0);
        const QRectF rechteck = QRectF(QPointF(x, std::min(y, null)), QPointF(x + breite, std::max(y, null)));
        if (b.betrag != 0) {
            p->fillRect(rechteck, QColor(200, 200, 200));
            // Hatching drawn as lines: a pattern brush would shrink to a
            // grey haze at the PDF's resolution.
            p->save();
            p->setClipRect(rechteck);
            p->setPen(QPen(Qt::black, blatt.mm(0.12)));
            const qreal abstand = blatt.mm(1.6);
            for (qreal d = -rechteck.height(); d < rechteck.width(); d += abstand)
                p->drawLine(QPointF(rechteck.left() + d, rechteck.bottom()),
                            QPointF(rechteck.left() + d + rechteck.height(), rechteck.top()));
            p->restore();
            p->setPen(QPen(Qt::black, blatt.mm(0.25)));
            p->setBrush(Qt::NoBrush);
            p->drawRect(rechteck);

            // The amount above the bar; upright where it is too wide.
            const QString text = BetragLesbar(b.betrag);
            const qreal textBreite = blatt.textbreite(wert, text);
            const qreal textHoehe = blatt.zeilenhoehe(wert);
            const qreal spitze = b.betrag > 0 ? rechteck.top() : rechteck.bottom();
            if (!aufrecht) {
                const qreal ty = b.betrag > 0 ? spitze - textHoehe - blatt.mm(0.5) : spitze + blatt.mm(0.5);
                blatt.text(QRectF(x + breite / 2 - fach / 2, ty, fach, textHoehe), Qt::AlignCenter, text, wert);
            } else {
                p->save();
                p->translate(x + breite / 2, spitze - blatt.mm(0.8));
                p->rotate(-90);
                blatt.text(QRectF(0, -textHoehe / 2, textBreite + blatt.mm(1), textHoehe), Qt::AlignLeft | Qt::AlignVCenter,
                           text, wert);
                p->restore();
            }
        }
        const QRectF unter(flaeche.left() + i * fach - blatt.mm(3), flaeche.bottom() + blatt.mm(1), fach + blatt.mm(6), zeile);
        blatt.text(unter, Qt::AlignHCenter | Qt::AlignTop, b.beschriftung, achse);
        blatt.text(QRectF(unter.left(), unter.bottom(), unter.width(), klein), Qt::AlignHCenter | Qt::AlignTop, b.versatz, wert);
        blatt.text(QRectF(unter.left(), unter.bottom() + klein, unter.width(), klein), Qt::AlignHCenter | Qt::AlignTop,
                   b.datum, wert);
    }
    p->setPen(QPen(Qt::black, blatt.mm(0.3)));
    p->drawLine(QPointF(flaeche.left(), flaeche.top()), QPointF(flaeche.left(), flaeche.bottom()));
    p->drawLine(QPointF(flaeche.left(), null), QPointF(flaeche.right(), null));
    p->restore();
}

} // namespace zanti
