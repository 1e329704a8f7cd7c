#include "register/rahmen.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace zanti {

Rahmen::Rahmen(const QString &titel, QWidget *eltern)
    : QGroupBox(titel, eltern)
{
}

void Rahmen::paintEvent(QPaintEvent *)
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect titel = style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                QStyle::SC_GroupBoxLabel, this);
    // The line runs below the title, as the style places it.
    QRect rahmen = style()->subControlRect(QStyle::CC_GroupBox, &option,
                                           QStyle::SC_GroupBoxFrame, this);
    rahmen.setTop(qMax(rahmen.top(), titel.bottom() + 1));
    QPainter maler(this);
    maler.setPen(palette().color(QPalette::Window).darker(125));
    maler.drawRect(rahmen.adjusted(0, 0, -1, -1));
    maler.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
    maler.drawText(titel, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic, title());
}

} // namespace zanti
