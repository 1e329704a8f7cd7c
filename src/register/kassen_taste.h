#pragma once
// A touch key of the register: never takes the keyboard focus, and draws its
// caption word-wrapped and shrunk to fit, so long article texts stay readable.
#include <QPushButton>

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

protected:
    void paintEvent(QPaintEvent *ereignis) override;

private:
    QString m_beschriftung;
    QColor m_farbe;
};

} // namespace zanti
