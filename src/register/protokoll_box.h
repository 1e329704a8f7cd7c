#pragma once
// The protocol box: shows the model's protocol, newest line on top. It holds
// no protocol of its own and draws only the lines in sight, so start-up, a
// booking and memory stay the same with 10 or 320,000 lines. It scrolls by
// lines, one step a line.
#include <QAbstractScrollArea>

namespace zanti {

class Protokoll;

class ProtokollBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ProtokollBox(QWidget *eltern = nullptr);

    // Shows protokoll from now on; it must outlive the box.
    void zeigen(const Protokoll &protokoll);

    // The widest line the box shows whole, without scrolling sideways: its
    // font shrinks or grows with the box until this line just fits; where
    // that would be too small to read, long lines wrap instead.
    static QString Musterzeile();
    bool umbrechen() const { return m_umbrechen; }
    // Room around the lines, as in a text box.
    static constexpr int kRand = 4;

signals:
    void geklickt();

protected:
    void paintEvent(QPaintEvent *ereignis) override;
    void mousePressEvent(QMouseEvent *ereignis) override;
    void resizeEvent(QResizeEvent *ereignis) override;
    void showEvent(QShowEvent *ereignis) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // messen: the oldest lines are measured again (size, font or lines changed).
    void bereichSetzen(bool messen);
    // Height of a line in the box, wrapped when wider.
    qreal hoehe(const QString &zeile) const;
    void schriftAnpassen();

    const Protokoll *m_protokoll = nullptr;
    bool m_umbrechen = false;
    // How many of the oldest lines fill the box, scrolled to the end.
    int m_ganzAmEnde = 0;
    // A box out of sight measures when it is shown, in the font it has then.
    bool m_bereichVeraltet = false;
};

} // namespace zanti
