#include "register/entwurfsflaeche.h"

#include <QResizeEvent>
#include <cmath>

namespace zanti {

Entwurfsflaeche::Entwurfsflaeche(QWidget *eltern)
    : QWidget(eltern)
{
}

QSize Entwurfsflaeche::sizeHint() const
{
    return {kBreite / kTwipsProPixel, kHoehe / kTwipsProPixel};
}

void Entwurfsflaeche::platzieren(QWidget *w, const QRect &twips, qreal schriftPx)
{
    m_plaetze.append({w, twips, schriftPx});
    anwenden(m_plaetze.last());
}

void Entwurfsflaeche::anwenden(const Platz &platz) const
{
    if (!platz.widget)
        return;
    const qreal f = m_massstab / kTwipsProPixel;
    const QPoint versatz = platz.widget->parentWidget() == this ? m_versatz : QPoint();
    const int links = int(std::lround(platz.twips.x() * f)) + versatz.x();
    const int oben = int(std::lround(platz.twips.y() * f)) + versatz.y();
    const int rechts = int(std::lround((platz.twips.x() + platz.twips.width()) * f)) + versatz.x();
    const int unten = int(std::lround((platz.twips.y() + platz.twips.height()) * f)) + versatz.y();
    platz.widget->setGeometry(links, oben, rechts - links, unten - oben);
    if (platz.schriftPx > 0) {
        QFont schrift = platz.widget->font();
        schrift.setPixelSize(qMax(6, int(std::lround(platz.schriftPx * m_massstab))));
        platz.widget->setFont(schrift);
    }
}

void Entwurfsflaeche::resizeEvent(QResizeEvent *ereignis)
{
    QWidget::resizeEvent(ereignis);
    const QSize groesse = ereignis->size();
    m_massstab = qMin(groesse.width() * qreal(kTwipsProPixel) / kBreite,
                      groesse.height() * qreal(kTwipsProPixel) / kHoehe);
    const int breite = int(std::lround(kBreite * m_massstab / kTwipsProPixel));
    const int hoehe = int(std::lround(kHoehe * m_massstab / kTwipsProPixel));
    m_versatz = {(groesse.width() - breite) / 2, (groesse.height() - hoehe) / 2};
    for (const Platz &platz : std::as_const(m_plaetze))
        anwenden(platz);
}

QColor FarbeAusNummer(qint64 nummer, const QColor &systemfarbe)
{
    const auto wert = static_cast<quint32>(nummer);
    if (wert & 0x80000000u)
        return systemfarbe;
    return QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
}

} // namespace zanti
