#pragma once
// A titled frame around a group of controls (the quantity keypad, the port
// choice). It draws its title and a plain line around the group; the style's
// own group frame comes from an image file, and reading that image was the
// dearest thing on the register's first frame.
#include <QGroupBox>

namespace zanti {

class Rahmen : public QGroupBox
{
public:
    Rahmen(const QString &titel, QWidget *eltern);

protected:
    void paintEvent(QPaintEvent *ereignis) override;
};

} // namespace zanti
