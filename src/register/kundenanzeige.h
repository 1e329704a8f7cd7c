#pragma once
// The dark panel of the customer display behind its quantity, text and
// amount lines.
#include <QFrame>

namespace zanti {

class Kundenanzeige : public QFrame
{
public:
    explicit Kundenanzeige(QWidget *eltern);

    // The colour of the lines shown on the panel.
    static QColor Schriftfarbe();

protected:
    void paintEvent(QPaintEvent *ereignis) override;
};

} // namespace zanti
