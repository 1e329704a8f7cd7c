#pragma once
// A touch key of the register: never takes the keyboard focus, and draws its
// caption word-wrapped and shrunk to fit, so long article texts stay readable.
#include "register/beschriftung.h"

#include <QPushButton>

#include <memory>

namespace zanti {

class KassenTaste : public QPushButton
{
public:
    KassenTaste(const QString &name, QWidget *eltern);

    // The caption as the register sets it ("Cola\n1,50"); an "&" stays an
    // "&" and never becomes a keyboard shortcut.
    void beschriftungSetzen(const QString &text);
    QString beschriftung() const { return m_beschriftung; }

    // Background colour; an invalid colour restores the style's own.
    void farbeSetzen(const QColor &farbe);
    QColor farbe() const { return m_farbe; }

    // The pixel size the caption is drawn at: the largest, down to 8, at
    // which it fits the key.
    int beschriftungsPixel() const { return passendeSchrift(); }

protected:
    void paintEvent(QPaintEvent *ereignis) override;

private:
    // Where the caption goes.
    QRect beschriftungsFeld() const { return rect().adjusted(4, 2, -4, -2); }
    int passendeSchrift() const;

    QString m_beschriftung;
    QColor m_farbe;
    // The fitted font size and the caption laid out in it, for the caption,
    // size and font they were found for: a press repaints the key, and the
    // search is not worth repeating.
    mutable std::unique_ptr<Beschriftungssatz> m_satz;
    mutable QString m_passtFuerText;
    mutable QSize m_passtFuerGroesse;
    mutable QFont m_passtFuerSchrift;
    mutable int m_passendePixel = 0;
};

} // namespace zanti
