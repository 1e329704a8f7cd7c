#include "model/drucker_dienst.h"

#include "core/geld.h"
#include "persistence/schnittstellen.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace zanti {

namespace {

QString Benutzername()
{
#ifdef Q_OS_UNIX
    if (const passwd *p = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(p->pw_name);
    return qEnvironmentVariable("USER");
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// The group Debian gives the kind of device: lp for printer devices
// (/dev/usb/lp0, /dev/lp0), dialout for serial lines.
QString UeblicheGruppe(const QString &geraet)
{
    const QString name = geraet.section(u'/', -1);
    return name.startsWith(u"lp") ? QStringLiteral("lp") : QStringLiteral("dialout");
}

} // namespace

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

QString DruckerDienst::PortMeldung(const QString &port, const QString &geraet, const Oeffnungsfehler &fehler,
                                   const QString &benutzer)
{
    using Grund = Oeffnungsfehler::Grund;
    const QString geraetText = QStringLiteral("\nGerät %1: ").arg(geraet);
    const QString druckerText = QStringLiteral("\nDrucker %1: ").arg(geraet);
    QString ursache;
    switch (fehler.grund) {
    case Grund::Keiner:
        break;
    case Grund::FehltGeraet:
        ursache = geraetText + QStringLiteral("nicht vorhanden. Ist der Drucker angeschlossen und eingeschaltet, "
                                              "und stimmt der Name in schnittstellen.ini?");
        break;
    case Grund::KeinZugriff: {
        const QString gruppe = fehler.gruppe.isEmpty() ? UeblicheGruppe(geraet) : fehler.gruppe;
        ursache = geraetText
            + QStringLiteral("keine Berechtigung. Der Benutzer %1 muss zur Gruppe %2 gehören "
                             "(sudo adduser %1 %2, danach neu anmelden).")
                  .arg(benutzer, gruppe);
        break;
    }
    case Grund::Belegt:
        ursache = geraetText + QStringLiteral("wird schon von einem anderen Programm benutzt.");
        break;
    case Grund::Steuerzeichen:
        ursache = QStringLiteral("\nDer Gerätename in schnittstellen.ini enthält Steuerzeichen.");
        break;
    case Grund::Adresse:
        ursache = druckerText + QStringLiteral("Adresse ungültig oder Rechnername unbekannt.");
        break;
    case Grund::Abgelehnt:
        ursache = druckerText + QStringLiteral("nimmt keine Verbindung an. Ist der Port richtig?");
        break;
    case Grund::KeineAntwort:
        ursache = druckerText + QStringLiteral("keine Antwort im Netz. Ist der Drucker eingeschaltet?");
        break;
    case Grund::Sonstiger:
        ursache = geraetText + fehler.systemtext;
        break;
    }
    return PortMeldung(port) + ursache;
}

bool DruckerDienst::oeffnen()
{
    m_geraet = ComGeraet(m_ordner, m_port.CommPort());
    const bool offen = m_port.oeffnen(m_geraet);
    m_fehler = m_port.oeffnungsfehler();
    return offen;
}

QString DruckerDienst::meldung(const QString &port) const
{
    return PortMeldung(port, m_geraet, m_fehler, Benutzername());
}

int DruckerDienst::port() const
{
    return m_port.CommPort();
}

bool DruckerDienst::starten(const QString &einstellung6, QString *meldung)
{
    m_fehler = {};
    const std::optional<int> nummer = GanzzahlLesen(einstellung6);
    bool fehler = !nummer || !m_port.CommPortSetzen(*nummer);
    m_port.InputLenSetzen(0);
    m_port.InBufferCountSetzen(0);
    fehler = !oeffnen() || fehler;
    if (fehler) {
        *meldung = this->meldung(einstellung6);
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
    m_fehler = {};
    const std::optional<int> nummer = GanzzahlLesen(einstellung6);
    bool geoeffnet = nummer && m_port.CommPortSetzen(*nummer);
    m_port.InputLenSetzen(0);
    geoeffnet = geoeffnet && oeffnen();
    if (!geoeffnet) {
        m_port.schliessen();
        *meldung = this->meldung(weg == Schaltweg::Taste ? einstellung6 : QString::number(m_port.CommPort()));
        return false;
    }
    m_port.Output(escpos::TabulatorSetzen());
    m_port.Output(escpos::StatusAutomatikEin());
    return true;
}

std::optional<QString> DruckerDienst::waehlen(int nummer, const QString &text)
{
    m_fehler = {};
    if (m_port.PortOpen())
        m_port.schliessen();
    m_port.CommPortSetzen(nummer);
    m_port.InputLenSetzen(0);
    if (!oeffnen()) {
        m_port.schliessen();
        return meldung(text);
    }
    m_port.Output(escpos::TabulatorSetzen());
    m_port.Output(escpos::StatusAutomatikEin());
    return std::nullopt;
}

} // namespace zanti
