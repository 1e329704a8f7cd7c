#pragma once
// A key's caption laid out once: centred in its field and wrapped at word
// boundaries, line for line as QPainter::drawText(feld, Qt::AlignCenter |
// Qt::TextWordWrap, text) lays it out. The one layout tells the space the
// caption needs and is the one drawn, so the caption is shaped once for both.
#include <QRect>
#include <QTextLayout>

class QPainter;

namespace zanti {

class Beschriftungssatz
{
public:
    Beschriftungssatz(const QString &text, const QFont &schrift, const QRect &feld);

    // What QFontMetrics::boundingRect(feld, Qt::AlignCenter |
    // Qt::TextWordWrap, text) gives; empty for an empty text.
    QRect benoetigt() const { return m_benoetigt; }
    bool passt() const
    {
        return m_benoetigt.width() <= m_feld.width() && m_benoetigt.height() <= m_feld.height();
    }

    // In the painter's pen; what does not fit the field is cut off.
    void zeichnen(QPainter &maler) const;

private:
    QRect m_feld;
    QTextLayout m_satz;
    QRect m_benoetigt;
    // Drawing lays out only the lines that begin inside the field, and
    // centres those.
    int m_gezeichneteZeilen = 0;
    qreal m_oben = 0;
    bool m_abschneiden = false;
};

} // namespace zanti
