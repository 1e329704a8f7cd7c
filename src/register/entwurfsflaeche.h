#pragma once
// The register's drawing board: controls keep their design position in twips
// and the whole board scales uniformly with the window, centred, fonts too.
// The secondary windows are drawn in twips as well and follow the register's
// factor, so a key is as large for a finger there as on the register.
#include <QColor>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace zanti {

inline constexpr int kTwipsProPixel = 15;

// A design rectangle in pixels at factor massstab. The edges are rounded, not
// the sizes, so controls that touch in the design still touch.
QRect Skaliert(const QRect &twips, qreal massstab);
// A design length in twips, in pixels at factor massstab.
int Skaliert(int twips, qreal massstab);
// A font size given in pixels at scale 1, at factor massstab (6 at least).
int SchriftPixel(qreal schriftPx, qreal massstab);

// A control with its design rectangle (twips, relative to its parent) and
// its font size at scale 1 (0 keeps the font).
struct EntwurfsPlatz
{
    QPointer<QWidget> widget;
    QRect twips;
    qreal schriftPx = 0;

    // mitSchrift false: the rectangle only.
    void anwenden(qreal massstab, QPoint versatz = {}, bool mitSchrift = true) const;
};

class Entwurfsflaeche : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBreite = 11760; // design client area in twips
    static constexpr int kHoehe = 8700;

    explicit Entwurfsflaeche(QWidget *eltern = nullptr);

    // w is a child of this board or of a control placed on it; its rectangle
    // is in twips relative to that parent. schriftPx is the font size at
    // scale 1 (0 keeps the font).
    void platzieren(QWidget *w, const QRect &twips, qreal schriftPx = 0);

    // The size the board will have on screen, where it is known before the
    // window is shown (a window shown maximised fills the screen's free
    // area): the controls take their place and font as they are made, so no
    // font is loaded for a size never shown. The placement when the window
    // is exposed checks the guess.
    void groesseVorwegnehmen(QSize groesse);
    // The size in pixels at scale 1 of text on the board that has no size of
    // its own, such as a control measuring itself while it is being made.
    void grundschriftSetzen(qreal schriftPx);

    qreal massstab() const { return m_massstab; }
    // Where the centred board starts inside this widget.
    QPoint versatz() const { return m_versatz; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *ereignis) override;
    bool eventFilter(QObject *objekt, QEvent *ereignis) override;

private:
    void anwenden(const EntwurfsPlatz &platz) const;
    void alleAnwenden();
    // Factor, offset and the board's own font for a board of this size.
    void masseSetzen(QSize groesse);

    QList<EntwurfsPlatz> m_plaetze;
    qreal m_massstab = 1.0;
    QPoint m_versatz;
    // Until the window is first on screen its size comes and goes (the
    // window system maximises it, the status bar finds its height); only the
    // last size is placed, when the window is exposed.
    bool m_ausstehend = false;
    // The size the controls were last placed for; invalid before the first
    // placement. Fonts are set only from then on: a font measured at a size
    // never shown costs its loading for nothing.
    QSize m_platziertFuer;
    qreal m_grundschriftPx = 0;
};

// The register's factor for any widget of the register or of one of its
// secondary windows; 1 where there is no register.
qreal RegisterMassstab(const QWidget *w);

// A window whose design has a bar of leisteHoehe twips below the board (the
// status bar): the factor taken from the whole window, so that the bar's own
// height cannot feed back into it.
qreal FensterMassstab(QSize fenster, int leisteHoehe);

// A secondary window drawn in twips. Its size, controls and fonts follow the
// register's factor; it stands at its design offset from the register
// window's corner, scaled the same way and moved with the centred board.
class Fensterentwurf
{
public:
    // schriftPx: the window's own font size at scale 1, for its labels.
    Fensterentwurf(QWidget *fenster, QSize groesseTwips, qreal schriftPx);

    void platzieren(QWidget *w, const QRect &twips, qreal schriftPx = 0);
    // Sizes the window and its controls with the factor of kasse.
    void anwenden(const QWidget *kasse);
    // Moves the window to its place.
    void verschieben(const QWidget *kasse, QPoint abstandTwips);
    // At every showing: the size follows the register; the place is taken
    // the first time only, later showings stay where the window is.
    void beimZeigen(const QWidget *kasse, QPoint abstandTwips);

private:
    QWidget *m_fenster;
    QSize m_groesse;
    qreal m_schriftPx;
    QList<EntwurfsPlatz> m_plaetze;
    bool m_platziert = false;
};

// A colour number as the register stores it: red in the lowest byte, then
// green and blue; with the top bit set, a system colour (button face and
// the like), which becomes the fallback.
QColor FarbeAusNummer(qint64 nummer, const QColor &systemfarbe);

} // namespace zanti
