#pragma once
// The function keys and ESC as the register's timer sees them: a press is
// noted as "pressed since the last poll", whichever window has the focus,
// and eaten, so that no dialog acts on it by itself (ESC closes no dialog).
// The file dialog is not one of the register's windows: there ESC cancels it.
#include <QObject>
#include <QSet>

namespace zanti {

class Tastenabfrage : public QObject
{
public:
    // Watches every window of the application until it is destroyed.
    explicit Tastenabfrage(QObject *eltern = nullptr);
    ~Tastenabfrage() override;

    // ESC and F1..F12.
    static bool abgefragt(int taste);

    // Whether the key was pressed since the last call; clears the note.
    bool gedrueckt(Qt::Key taste);

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override;

private:
    QSet<int> m_gedrueckt;
};

} // namespace zanti
