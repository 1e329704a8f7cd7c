#include "register/protokoll_box.h"

#include "model/protokoll.h"
#include "register/entwurfsflaeche.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <cmath>

namespace zanti {

namespace {

constexpr qreal kMindestPixel = 11;

// Lays a line out in rows of the given width; gives their height.
qreal ZeilenLegen(QTextLayout &satz, qreal breite)
{
    QTextOption umbruch;
    umbruch.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    satz.setTextOption(umbruch);
    qreal hoehe = 0;
    satz.beginLayout();
    for (QTextLine reihe = satz.createLine(); reihe.isValid(); reihe = satz.createLine()) {
        reihe.setLineWidth(breite);
        reihe.setPosition(QPointF(0, hoehe));
        hoehe += reihe.height();
    }
    satz.endLayout();
    return hoehe;
}

} // namespace

ProtokollBox::ProtokollBox(QWidget *eltern)
    : QAbstractScrollArea(eltern)
{
    setObjectName(QStringLiteral("Protokoll"));
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
}

void ProtokollBox::zeigen(const Protokoll &protokoll)
{
    m_protokoll = &protokoll;
    // A new line is in sight at once. It goes on top, so the oldest lines
    // that fill the box scrolled to the end stay the same, unless all fit.
    connect(&protokoll, &QAbstractItemModel::rowsInserted, this, [this] {
        bereichSetzen(m_ganzAmEnde >= m_protokoll->zeilen() - 1);
        verticalScrollBar()->setValue(0);
        viewport()->update();
    });
    connect(&protokoll, &QAbstractItemModel::modelReset, this, [this] {
        bereichSetzen(true);
        verticalScrollBar()->setValue(0);
        viewport()->update();
    });
    bereichSetzen(true);
}

qreal ProtokollBox::hoehe(const QString &zeile) const
{
    const QFontMetricsF metrik(font());
    const qreal breite = viewport()->width() - 2 * kRand;
    if (metrik.horizontalAdvance(zeile) <= breite)
        return metrik.lineSpacing();
    QTextLayout satz(zeile, font());
    return ZeilenLegen(satz, breite);
}

void ProtokollBox::bereichSetzen(bool messen)
{
    if (!isVisible()) {
        m_bereichVeraltet = true;
        return;
    }
    m_bereichVeraltet = false;
    const int zeilen = m_protokoll ? m_protokoll->zeilen() : 0;
    const qreal platz = viewport()->height() - 2 * kRand;
    verticalScrollBar()->setPageStep(qMax(1, int(platz / fontMetrics().lineSpacing())));
    // Scrolled to the end, the oldest lines fill the box: only they are
    // measured, however long the protocol.
    if (messen) {
        m_ganzAmEnde = 0;
        for (qreal belegt = 0; m_ganzAmEnde < zeilen; ++m_ganzAmEnde) {
            belegt += hoehe(m_protokoll->zeile(zeilen - 1 - m_ganzAmEnde));
            if (belegt > platz)
                break;
        }
    }
    verticalScrollBar()->setRange(0, qMax(0, zeilen - qMax(1, m_ganzAmEnde)));
}

void ProtokollBox::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ProtokollBox::paintEvent(QPaintEvent *)
{
    if (!m_protokoll)
        return;
    QPainter maler(viewport());
    maler.setFont(font());
    maler.setPen(palette().color(QPalette::Text));
    const QFontMetricsF metrik(font());
    const qreal breite = viewport()->width() - 2 * kRand;
    qreal y = kRand;
    for (int nr = verticalScrollBar()->value(); nr < m_protokoll->zeilen() && y < viewport()->height(); ++nr) {
        const QString zeile = m_protokoll->zeile(nr);
        if (metrik.horizontalAdvance(zeile) <= breite) {
            maler.drawText(QPointF(kRand, y + metrik.ascent()), zeile);
            y += metrik.lineSpacing();
            continue;
        }
        // Wider than the box: the line goes on in the next row.
        QTextLayout satz(zeile, font());
        const qreal hoehe = ZeilenLegen(satz, breite);
        satz.draw(&maler, QPointF(kRand, y));
        y += hoehe;
    }
}

QString ProtokollBox::Musterzeile()
{
    // A five-figure line number, the void of ten units of an article of 25
    // characters at a four-figure amount.
    return QStringLiteral("12345 23:59:59  10 x 1234567890123456789012345   -1000,00 Storno");
}

void ProtokollBox::resizeEvent(QResizeEvent *ereignis)
{
    QAbstractScrollArea::resizeEvent(ereignis);
    schriftAnpassen();
    bereichSetzen(true);
}

void ProtokollBox::showEvent(QShowEvent *ereignis)
{
    QAbstractScrollArea::showEvent(ereignis);
    if (m_bereichVeraltet)
        bereichSetzen(true);
}

void ProtokollBox::schriftAnpassen()
{
    // The vertical scroll bar is counted as present: it comes with the
    // protocol's growth, and must not push the line's end out then. One
    // pixel more is kept free, as a text box keeps it for its cursor.
    const qreal platz = contentsRect().width() - verticalScrollBar()->sizeHint().width()
                        - 2 * kRand - 1 - 1;
    const QString muster = Musterzeile();
    // The design gives the box little width for its 64 characters, so the
    // size goes in quarter pixels rather than whole ones. Every size tried
    // is one more font to load, so few are.
    const qreal punktJePixel = 72.0 / logicalDpiY();
    // The readable size grows with the register, like every other text.
    const qreal mindestens = std::round(4 * kMindestPixel * RegisterMassstab(this)) / 4;
    QFont schrift = font();
    // Narrower letters read better than smaller ones.
    schrift.setStretch(QFont::Condensed);
    const auto passt = [&](qreal pixel) {
        schrift.setPointSizeF(pixel * punktJePixel);
        return QFontMetricsF(schrift).horizontalAdvance(muster) <= platz;
    };
    // The smallest readable size first: a narrow box stays there. Widths
    // grow about in proportion, so it also tells where the largest size that
    // fits will be; from there the search steps up or down.
    schrift.setPointSizeF(mindestens * punktJePixel);
    const qreal kleinsteBreite = QFontMetricsF(schrift).horizontalAdvance(muster);
    qreal pixel = mindestens;
    if (kleinsteBreite < platz) {
        pixel = qMax(mindestens, std::floor(4 * mindestens * platz / kleinsteBreite) / 4);
        if (passt(pixel)) {
            while (passt(pixel + 0.25))
                pixel += 0.25;
        } else {
            do
                pixel -= 0.25;
            while (pixel > mindestens && !passt(pixel));
        }
    }
    // Below a size an operator can read at arm's length, the font stays
    // readable and only the longest lines go on in a second row.
    m_umbrechen = pixel <= mindestens;
    schrift.setPointSizeF(pixel * punktJePixel);
    if (schrift != font())
        setFont(schrift);
}

void ProtokollBox::mousePressEvent(QMouseEvent *ereignis)
{
    emit geklickt();
    QAbstractScrollArea::mousePressEvent(ereignis);
}

} // namespace zanti
