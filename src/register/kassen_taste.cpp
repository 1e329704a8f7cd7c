#include "register/kassen_taste.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace zanti {

KassenTaste::KassenTaste(const QString &name, QWidget *eltern)
    : QPushButton(eltern)
{
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void KassenTaste::beschriftungSetzen(const QString &text)
{
    if (text == m_beschriftung)
        return;
    m_beschriftung = text;
    setAccessibleName(text);
    update();
}

void KassenTaste::farbeSetzen(const QColor &farbe)
{
    if (farbe == m_farbe)
        return;
    m_farbe = farbe;
    QPalette p = palette();
    p.setColor(QPalette::Button, farbe.isValid() ? farbe : QPalette().color(QPalette::Button));
    setPalette(p);
    update();
}

int KassenTaste::passendeSchrift() const
{
    if (m_satz && m_passtFuerText == m_beschriftung && m_passtFuerGroesse == size()
        && m_passtFuerSchrift == font())
        return m_passendePixel;
    const QRect feld = beschriftungsFeld();
    QFont schrift = font();
    int px = schrift.pixelSize() > 0 ? schrift.pixelSize() : QFontInfo(schrift).pixelSize();
    const auto setzen = [&](int groesse) {
        schrift.setPixelSize(groesse);
        return std::make_unique<Beschriftungssatz>(m_beschriftung, schrift, feld);
    };
    std::unique_ptr<Beschriftungssatz> satz = setzen(px);
    const QRect voll = satz->benoetigt();
    if (px > 8 && !satz->passt() && !voll.isEmpty()) {
        // Widths and heights grow about in proportion with the size: begin
        // at that estimate rather than one step below the full size, since
        // every size tried is one more font to load. Wrapped captions need
        // fewer lines when smaller, so a fitting estimate may still grow.
        const int ganz = px;
        const qreal faktor = qMin(feld.width() / qreal(voll.width()), feld.height() / qreal(voll.height()));
        px = qBound(8, int(px * faktor), ganz - 1);
        satz = setzen(px);
        if (satz->passt()) {
            while (px + 1 < ganz) {
                std::unique_ptr<Beschriftungssatz> groesser = setzen(px + 1);
                if (!groesser->passt())
                    break;
                satz = std::move(groesser);
                ++px;
            }
        } else {
            // Shrink until the caption fits, but never below a readable size.
            while (px > 8) {
                satz = setzen(--px);
                if (satz->passt())
                    break;
            }
        }
    }
    m_satz = std::move(satz);
    m_passtFuerText = m_beschriftung;
    m_passtFuerGroesse = size();
    m_passtFuerSchrift = font();
    m_passendePixel = px;
    return px;
}

void KassenTaste::paintEvent(QPaintEvent *)
{
    QStylePainter maler(this);
    if (m_farbe.isValid()) {
        // A register key shows its colour plainly inside a thin frame. The
        // style's shaded bevel would be covered but for its edge, and every
        // colour and size costs it a gradient of its own.
        QColor flaeche = isDown() ? m_farbe.darker(115) : m_farbe;
        if (!isEnabled())
            flaeche = QColor::fromHsv(flaeche.hue(), flaeche.saturation() / 4, 200);
        const QColor hintergrund = palette().color(QPalette::Window);
        maler.fillRect(rect(), hintergrund.darker(isEnabled() ? 140 : 120));
        maler.fillRect(rect().adjusted(1, 1, -1, -1), flaeche);
        // Rounded corners, as the style draws its keys.
        maler.setPen(hintergrund);
        const QRect r = rect();
        maler.drawPoints(QPolygon({r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}));
    } else {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        maler.drawControl(QStyle::CE_PushButton, option);
    }

    passendeSchrift();
    QColor stift = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText);
    if (m_farbe.isValid() && isEnabled())
        stift = m_farbe.lightness() < 110 ? Qt::white : Qt::black;
    maler.setPen(stift);
    m_satz->zeichnen(maler);
}

} // namespace zanti
