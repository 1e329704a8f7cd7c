#pragma once
// The protocol box: shows the protocol of the model, newest line on top. It
// holds no protocol of its own; a new line is put on top, so a booking costs
// the same with 10 or 30,000 lines, and a long protocol does not hold up the
// start.
#include <QPlainTextEdit>
#include <QTimer>

namespace zanti {

class Protokoll;

class ProtokollBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ProtokollBox(QWidget *eltern = nullptr);

    // Shows protokoll from now on; it must outlive the box.
    void zeigen(const Protokoll &protokoll);

    // Every line ends in CR LF; an empty text is an empty protocol.
    void textSetzen(const QString &text);
    // zeile ends in CR LF.
    void zeileVoranstellen(const QString &zeile);

    // The widest line the box shows whole, without scrolling sideways: its
    // font shrinks or grows with the box until this line just fits; where
    // that would be too small to read, long lines wrap instead.
    static QString Musterzeile();

signals:
    void geklickt();

protected:
    void mousePressEvent(QMouseEvent *ereignis) override;
    void resizeEvent(QResizeEvent *ereignis) override;

private:
    void restAnhaengen();
    void schriftAnpassen();

    // Whether the protocol shown has no line, not even an empty one.
    bool m_leer = true;
    // Lines not shown yet: a long protocol is shown newest first and the
    // older part is appended after the first frame, a piece at a time.
    QString m_rest;
    qsizetype m_restPos = 0;
    QTimer m_nachladen;
};

} // namespace zanti
