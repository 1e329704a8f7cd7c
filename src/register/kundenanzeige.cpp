#include "register/kundenanzeige.h"

#include <QPainter>

namespace zanti {

Kundenanzeige::Kundenanzeige(QWidget *eltern)
    : QFrame(eltern)
{
    setObjectName(QStringLiteral("Kundenanzeige"));
}

QColor Kundenanzeige::Schriftfarbe()
{
    return QColor(0x9b, 0xf5, 0x9b);
}

void Kundenanzeige::paintEvent(QPaintEvent *)
{
    QPainter maler(this);
    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(Qt::NoPen);
    maler.setBrush(QColor(0x0d, 0x1b, 0x2a));
    maler.drawRoundedRect(rect(), 6, 6);
}

} // namespace zanti
