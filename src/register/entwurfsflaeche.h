#pragma once
// The register's drawing board: controls keep their design position in twips
// and the whole board scales uniformly with the window, centred, fonts too.
#include <QColor>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace zanti {

inline constexpr int kTwipsProPixel = 15;

// Twips to pixels at 96 dpi, for the fixed-size dialogs.
inline int Pixel(int twips)
{
    return (twips + kTwipsProPixel / 2) / kTwipsProPixel;
}

inline QRect Twips(int links, int oben, int breite, int hoehe)
{
    return {Pixel(links), Pixel(oben), Pixel(breite), Pixel(hoehe)};
}

class Entwurfsflaeche : public QWidget
{
public:
    static constexpr int kBreite = 11760; // design client area in twips
    static constexpr int kHoehe = 8700;

    explicit Entwurfsflaeche(QWidget *eltern = nullptr);

    // w is a child of this board or of a control placed on it; its rectangle
    // is in twips relative to that parent. schriftPx is the font size at
    // scale 1 (0 keeps the font).
    void platzieren(QWidget *w, const QRect &twips, qreal schriftPx = 0);

    qreal massstab() const { return m_massstab; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *ereignis) override;

private:
    struct Platz
    {
        QPointer<QWidget> widget;
        QRect twips;
        qreal schriftPx;
    };
    void anwenden(const Platz &platz) const;

    QList<Platz> m_plaetze;
    qreal m_massstab = 1.0;
    QPoint m_versatz;
};

// A colour number as the register stores it: red in the lowest byte, then
// green and blue; with the top bit set, a system colour (button face and
// the like), which becomes the fallback.
QColor FarbeAusNummer(qint64 nummer, const QColor &systemfarbe);

} // namespace zanti
