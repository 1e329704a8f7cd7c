// Shutdown: saves what the run changed and releases the port and the
// database, also when a save fails.
#include "printing/drucker_port.h"
#include "persistence/bon_tabelle.h"
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
    m_modell->BeendenBeginnen();
    m_modell->VerkaufSpeichern();
    m_modell->EinstellungenSpeichern();
    if (m_port->PortOpen())
        m_port->ausgebenUndSchliessen();
    m_bon->schliessen();

    const QStringList namen = m_modell->fehlerhafteDateien();
    if (namen.isEmpty()) {
        emit beendet();
        return;
    }
    qWarning("Zanti: beim Beenden nicht gespeichert: %s", qPrintable(namen.join(u", ")));
    Meldung(nullptr,
            u"Beim Beenden konnten diese Dateien nicht gespeichert werden: %1"_qs.arg(namen.join(u", ")),
            u"Fehler"_qs, [kasse = QPointer<Kasse>(this)] {
                if (kasse)
                    emit kasse->beendet();
            });
}

} // namespace zanti
