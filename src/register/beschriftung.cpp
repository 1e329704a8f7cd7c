#include "register/beschriftung.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace zanti {

Beschriftungssatz::Beschriftungssatz(const QString &text, const QFont &schrift, const QRect &feld)
    : m_feld(feld)
{
    if (text.isEmpty())
        return;
    // A CR or a tab stands as a blank, a line feed breaks the line.
    QString satz = text;
    for (QChar &zeichen : satz) {
        if (zeichen == u'\r' || zeichen == u'\t')
            zeichen = u' ';
        else if (zeichen == u'\n')
            zeichen = QChar::LineSeparator;
    }
    m_satz.setText(satz);
    m_satz.setFont(schrift);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    m_satz.setTextOption(option);
    m_satz.setCacheEnabled(true);

    // Lines on whole pixels, the font's leading between them.
    const qreal zwischenraum = QFontMetricsF(schrift).leading();
    qreal hoehe = -zwischenraum;
    qreal breite = 0;
    qreal hoeheGezeichnet = -1;
    qreal breiteGezeichnet = 0;
    m_satz.beginLayout();
    for (QTextLine zeile = m_satz.createLine(); zeile.isValid(); zeile = m_satz.createLine()) {
        zeile.setLineWidth(qMax(0, feld.width()));
        hoehe = qCeil(hoehe + zwischenraum);
        zeile.setPosition(QPointF(0, hoehe));
        hoehe += zeile.ascent() + zeile.descent();
        breite = qMax(breite, zeile.naturalTextWidth());
        if (hoeheGezeichnet < 0 && hoehe >= feld.height()) {
            hoeheGezeichnet = hoehe;
            breiteGezeichnet = breite;
            m_gezeichneteZeilen = zeile.lineNumber() + 1;
        }
    }
    m_satz.endLayout();
    if (hoeheGezeichnet < 0) {
        hoeheGezeichnet = hoehe;
        breiteGezeichnet = breite;
        m_gezeichneteZeilen = m_satz.lineCount();
    }

    m_benoetigt = QRectF(feld.x() + (feld.width() - breite) / 2, feld.y() + (feld.height() - hoehe) / 2,
                         breite, hoehe)
                      .toAlignedRect();
    m_oben = (feld.height() - hoeheGezeichnet) / 2;
    const QRectF gezeichnet(feld.x() + (feld.width() - breiteGezeichnet) / 2, feld.y() + m_oben,
                            breiteGezeichnet, hoeheGezeichnet);
    m_abschneiden = !QRectF(feld).contains(gezeichnet);
}

void Beschriftungssatz::zeichnen(QPainter &maler) const
{
    if (m_gezeichneteZeilen == 0)
        return;
    if (m_abschneiden) {
        maler.save();
        maler.setClipRect(m_feld, Qt::IntersectClip);
    }
    for (int i = 0; i < m_gezeichneteZeilen; ++i) {
        const QTextLine zeile = m_satz.lineAt(i);
        const qreal links = (m_feld.width() - zeile.horizontalAdvance()) / 2;
        zeile.draw(&maler, QPointF(m_feld.x() + links, m_feld.y() + m_oben));
    }
    if (m_abschneiden)
        maler.restore();
}

} // namespace zanti
