// Shutdown: the model saves and closes; the window tells what could not be
// saved and says when the program may end, after the operator's OK.
#include "register/kasse.h"
#include "register/meldung.h"

#include <QCloseEvent>
#include <QPointer>

namespace zanti {

void Kasse::closeEvent(QCloseEvent *ereignis)
{
    beenden();
    ereignis->accept();
}

void Kasse::beenden()
{
    if (m_beendet)
        return;
    m_beendet = true;
    m_timer1.stop();
    const QStringList namen = m_modell->beenden();
    if (namen.isEmpty()) {
        emit beendet();
        return;
    }
    qWarning("Zanti: beim Beenden nicht gespeichert: %s", qPrintable(namen.join(u", ")));
    // The box has no parent: the window is already closed.
    Meldung(nullptr,
            u"Beim Beenden konnten diese Dateien nicht gespeichert werden: %1"_qs.arg(namen.join(u", ")),
            u"Fehler"_qs, [kasse = QPointer<Kasse>(this)] {
                if (kasse)
                    emit kasse->beendet();
            });
}

} // namespace zanti
