#include "model/drucker_dienst.h"

#include "core/geld.h"
#include "persistence/schnittstellen.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"

namespace zanti {

QString DruckerDienst::PortMeldung(const QString &port)
{
    return QStringLiteral("Schnittstelle an COM ") + port + QStringLiteral(" kann nicht geöffnet werden!");
}

std::optional<int> DruckerDienst::PortEingabe(QString &text)
{
    if (text.trimmed().isEmpty())
        text = QStringLiteral("1");
    const std::optional<Cent> wert = BetragLesen(text);
    if (!wert)
        return std::nullopt;
    if (*wert > Cent{DruckerPort::kHoechsterPort} * 100)
        text = QString::number(DruckerPort::kHoechsterPort);
    // Port 0 or below would be refused by the port anyway; say so before
    // the working port is closed.
    const std::optional<int> nummer = GanzzahlLesen(text);
    if (!nummer || *nummer < 1)
        return std::nullopt;
    return nummer;
}

bool DruckerDienst::oeffnen()
{
    return m_port.oeffnen(ComGeraet(m_ordner, m_port.CommPort()));
}

int DruckerDienst::port() const
{
    return m_port.CommPort();
}

bool DruckerDienst::starten(const QString &einstellung6, QString *meldung)
{
    const std::optional<int> nummer = GanzzahlLesen(einstellung6);
    bool fehler = !nummer || !m_port.CommPortSetzen(*nummer);
    m_port.InputLenSetzen(0);
    m_port.InBufferCountSetzen(0);
    fehler = !oeffnen() || fehler;
    if (fehler) {
        *meldung = PortMeldung(einstellung6);
        return false;
    }
    m_port.Output(escpos::Initialisieren());
    m_port.Output(escpos::StatusAutomatikEin());
    m_port.Output(escpos::TabulatorSetzen());
    return true;
}

bool DruckerDienst::umschalten(bool ein, const QString &einstellung6, Schaltweg weg, QString *meldung)
{
    if (ein && !m_port.verbindungVerloren()) {
        m_port.schliessen();
        return false;
    }
    const std::optional<int> nummer = GanzzahlLesen(einstellung6);
    bool geoeffnet = nummer && m_port.CommPortSetzen(*nummer);
    m_port.InputLenSetzen(0);
    geoeffnet = geoeffnet && oeffnen();
    if (!geoeffnet) {
        m_port.schliessen();
        *meldung = PortMeldung(weg == Schaltweg::Taste ? einstellung6 : QString::number(m_port.CommPort()));
        return false;
    }
    m_port.Output(escpos::TabulatorSetzen());
    m_port.Output(escpos::StatusAutomatikEin());
    return true;
}

std::optional<QString> DruckerDienst::waehlen(int nummer, const QString &text)
{
    if (m_port.PortOpen())
        m_port.schliessen();
    m_port.CommPortSetzen(nummer);
    m_port.InputLenSetzen(0);
    if (!oeffnen()) {
        m_port.schliessen();
        return PortMeldung(text);
    }
    m_port.Output(escpos::TabulatorSetzen());
    m_port.Output(escpos::StatusAutomatikEin());
    return std::nullopt;
}

} // namespace zanti
