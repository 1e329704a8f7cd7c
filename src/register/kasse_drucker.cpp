// The printer port at start-up and the printer switch.
#include "printing/drucker_port.h"
#include "printing/escpos.h"
#include "register/kasse.h"
#include "register/meldung.h"

#include <QLabel>

namespace zanti {

void Kasse::DruckerStarten()
{
    // A setting that is no number leaves the port number as it was.
    if (const std::optional<int> port = GanzzahlLesen(z.Einstellung[6]))
        m_port->CommPortSetzen(*port);
    m_port->InputLenSetzen(0);
    m_port->InBufferCountSetzen(0);
    if (!m_port->oeffnen()) {
        Meldung(this, u"Schnittstelle an COM "_qs + z.Einstellung[6] + u" kann nicht geöffnet werden!"_qs);
        z.DruckerEin = 0;
        panelSetzen(5, u"F2 - Drucker aus"_qs);
        return;
    }
    z.DruckerEin = 1;
    panelSetzen(5, u"F2 - Drucker ein"_qs);
    m_port->Output(escpos::Initialisieren());
    m_port->Output(escpos::StatusAutomatikEin());
    m_port->Output(escpos::TabulatorSetzen());
}

void Kasse::tischnummerErfragen()
{
    m_label1[0]->setText(u"TISCHNUMMER"_qs);
    m_label1[1]->clear();
    m_euro->clear();
}

} // namespace zanti
