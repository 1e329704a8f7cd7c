#include "register/entwurfsflaeche.h"

#include <QLayout>
#include <QResizeEvent>
#include <QWindow>
#include <cmath>

namespace zanti {

namespace {

int Gerundet(qreal twips, qreal massstab)
{
    return int(std::lround(twips * massstab / kTwipsProPixel));
}

// The board of the register a widget belongs to: secondary windows are
// children of the register window, so the top of the parent chain holds it.
const Entwurfsflaeche *Flaeche(const QWidget *w)
{
    if (!w)
        return nullptr;
    while (w->parentWidget())
        w = w->parentWidget();
    if (const auto *flaeche = qobject_cast<const Entwurfsflaeche *>(w))
        return flaeche;
    return w->findChild<const Entwurfsflaeche *>();
}

} // namespace

QRect Skaliert(const QRect &twips, qreal massstab)
{
    const int links = Gerundet(twips.x(), massstab);
    const int oben = Gerundet(twips.y(), massstab);
    const int rechts = Gerundet(twips.x() + twips.width(), massstab);
    const int unten = Gerundet(twips.y() + twips.height(), massstab);
    return {links, oben, rechts - links, unten - oben};
}

int Skaliert(int twips, qreal massstab)
{
    return Gerundet(twips, massstab);
}

int SchriftPixel(qreal schriftPx, qreal massstab)
{
    return qMax(6, int(std::lround(schriftPx * massstab)));
}

void EntwurfsPlatz::anwenden(qreal massstab, QPoint versatz, bool mitSchrift) const
{
    if (!widget)
        return;
    widget->setGeometry(Skaliert(twips, massstab).translated(versatz));
    if (mitSchrift && schriftPx > 0) {
        QFont schrift = widget->font();
        schrift.setPixelSize(SchriftPixel(schriftPx, massstab));
        widget->setFont(schrift);
    }
}

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

void Entwurfsflaeche::groesseVorwegnehmen(QSize groesse)
{
    masseSetzen(groesse);
    for (const EntwurfsPlatz &platz : std::as_const(m_plaetze))
        anwenden(platz);
}

void Entwurfsflaeche::grundschriftSetzen(qreal schriftPx)
{
    m_grundschriftPx = schriftPx;
    if (m_platziertFuer.isValid())
        masseSetzen(m_platziertFuer);
}

void Entwurfsflaeche::anwenden(const EntwurfsPlatz &platz) const
{
    if (!platz.widget)
        return;
    // Controls inside a frame move with the frame, not with the board.
    const bool aufDerFlaeche = platz.widget->parentWidget() == this;
    platz.anwenden(m_massstab, aufDerFlaeche ? m_versatz : QPoint(), m_platziertFuer.isValid());
}

void Entwurfsflaeche::resizeEvent(QResizeEvent *ereignis)
{
    QWidget::resizeEvent(ereignis);
    QWindow *fenster = window()->windowHandle();
    if (fenster && !fenster->isExposed()) {
        if (!m_ausstehend)
            fenster->installEventFilter(this);
        m_ausstehend = true;
        return;
    }
    if (size() != m_platziertFuer)
        alleAnwenden();
}

bool Entwurfsflaeche::eventFilter(QObject *objekt, QEvent *ereignis)
{
    if (ereignis->type() == QEvent::Expose && m_ausstehend) {
        objekt->removeEventFilter(this);
        m_ausstehend = false;
        // A layout the window still owes (a bar that found its height) comes
        // first; the board's size it gives is placed as it arrives.
        if (QLayout *layout = window()->layout())
            layout->activate();
        if (size() != m_platziertFuer)
            alleAnwenden();
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void Entwurfsflaeche::masseSetzen(QSize groesse)
{
    m_massstab = qMin(groesse.width() * qreal(kTwipsProPixel) / kBreite,
                      groesse.height() * qreal(kTwipsProPixel) / kHoehe);
    const int breite = Gerundet(kBreite, m_massstab);
    const int hoehe = Gerundet(kHoehe, m_massstab);
    m_versatz = {(groesse.width() - breite) / 2, (groesse.height() - hoehe) / 2};
    m_platziertFuer = groesse;
    if (m_grundschriftPx > 0) {
        QFont schrift = font();
        schrift.setPixelSize(SchriftPixel(m_grundschriftPx, m_massstab));
        setFont(schrift);
    }
}

void Entwurfsflaeche::alleAnwenden()
{
    masseSetzen(size());
    for (const EntwurfsPlatz &platz : std::as_const(m_plaetze))
        anwenden(platz);
}

qreal RegisterMassstab(const QWidget *w)
{
    const Entwurfsflaeche *flaeche = Flaeche(w);
    return flaeche ? flaeche->massstab() : 1.0;
}

qreal FensterMassstab(QSize fenster, int leisteHoehe)
{
    return qMin(fenster.width() * qreal(kTwipsProPixel) / Entwurfsflaeche::kBreite,
                fenster.height() * qreal(kTwipsProPixel) / (Entwurfsflaeche::kHoehe + leisteHoehe));
}

Fensterentwurf::Fensterentwurf(QWidget *fenster, QSize groesseTwips, qreal schriftPx)
    : m_fenster(fenster), m_groesse(groesseTwips), m_schriftPx(schriftPx)
{
}

void Fensterentwurf::platzieren(QWidget *w, const QRect &twips, qreal schriftPx)
{
    m_plaetze.append({w, twips, schriftPx});
}

void Fensterentwurf::anwenden(const QWidget *kasse)
{
    const qreal massstab = RegisterMassstab(kasse);
    m_fenster->setFixedSize(Skaliert(QRect({}, m_groesse), massstab).size());
    QFont schrift = m_fenster->font();
    schrift.setPixelSize(SchriftPixel(m_schriftPx, massstab));
    m_fenster->setFont(schrift);
    for (const EntwurfsPlatz &platz : std::as_const(m_plaetze))
        platz.anwenden(massstab);
}

void Fensterentwurf::verschieben(const QWidget *kasse, QPoint abstandTwips)
{
    if (!kasse)
        return;
    const QWidget *hauptfenster = kasse->window();
    const Entwurfsflaeche *flaeche = Flaeche(kasse);
    const qreal massstab = flaeche ? flaeche->massstab() : 1.0;
    QPoint ecke = hauptfenster->frameGeometry().topLeft();
    if (flaeche)
        ecke += flaeche->versatz();
    const QPoint abstand(Skaliert(abstandTwips.x(), massstab), Skaliert(abstandTwips.y(), massstab));
    m_fenster->move(ecke + abstand);
}

void Fensterentwurf::beimZeigen(const QWidget *kasse, QPoint abstandTwips)
{
    anwenden(kasse);
    if (!m_platziert && kasse) {
        verschieben(kasse, abstandTwips);
        m_platziert = true;
    }
}

QColor FarbeAusNummer(qint64 nummer, const QColor &systemfarbe)
{
    const auto wert = static_cast<quint32>(nummer);
    if (wert & 0x80000000u)
        return systemfarbe;
    return QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
}

} // namespace zanti
