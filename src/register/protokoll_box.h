#pragma once
// The protocol box: the journal of the run, newest line on top. It keeps the
// text as the file holds it (every line ending in CR LF) beside the lines it
// shows, so a booking costs the same with 10 or 30,000 lines.
#include <QPlainTextEdit>

namespace zanti {

class ProtokollBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ProtokollBox(QWidget *eltern = nullptr);

    // Every line ends in CR LF; an empty text is an empty protocol.
    QString text() const { return m_text; }
    void textSetzen(const QString &text);
    // zeile ends in CR LF.
    void zeileVoranstellen(const QString &zeile);

signals:
    void geklickt();

protected:
    void mousePressEvent(QMouseEvent *ereignis) override;

private:
    QString m_text;
};

} // namespace zanti
