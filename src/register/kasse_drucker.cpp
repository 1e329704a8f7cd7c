// The printer: opening the port at start-up, the printer switch, the port
// dialog, and the reports that go to the printer or into the window Anzeige.
#include "register/anzeige.h"
#include "printing/berichte.h"
#include "printing/drucker_port.h"
#include "register/einstell.h"
#include "printing/escpos.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"

#include <QDateTime>
#include <QLabel>

namespace zanti {

namespace {

QString DruckerStatusText(int wert)
{
    switch (wert) {
    case 16: return u"Schublade offen "_qs;
    case 20: return u"Drucker bereit "_qs;
    case 28: return u" Papier ? "_qs;
    case 60: return u" Fehler "_qs;
    case 92: return u" Feedtaste "_qs;
    default: return QString::number(wert);
    }
}

QString PortMeldung(const QString &port)
{
    return u"Schnittstelle an COM "_qs + port + u" kann nicht geöffnet werden!"_qs;
}

} // namespace

void Kasse::druckerSchalter(int ein)
{
    z.DruckerEin = ein;
    panelSetzen(5, ein == 1 ? u"F2 - Drucker ein"_qs : u"F2 - Drucker aus"_qs);
}

void Kasse::DruckerStarten()
{
    // A port number that is no number is an error, but the port is still
    // opened with the number it had (the printer then stays off).
    const std::optional<int> port = GanzzahlLesen(z.Einstellung[6]);
    bool fehler = !port || !m_port->CommPortSetzen(*port);
    m_port->InputLenSetzen(0);
    m_port->InBufferCountSetzen(0);
    fehler = !m_port->oeffnen() || fehler;
    if (fehler) {
        Meldung(this, PortMeldung(z.Einstellung[6]));
        druckerSchalter(0);
        return;
    }
    druckerSchalter(1);
    m_port->Output(escpos::Initialisieren());
    m_port->Output(escpos::StatusAutomatikEin());
    m_port->Output(escpos::TabulatorSetzen());
}

void Kasse::DruckerUmschalten(Schaltweg weg)
{
    // A printer that went away while on is connected again, not switched off.
    if (z.DruckerEin == 1 && !m_port->verbindungVerloren()) {
        m_port->schliessen();
        druckerSchalter(0);
        return;
    }
    const std::optional<int> port = GanzzahlLesen(z.Einstellung[6]);
    bool geoeffnet = port && m_port->CommPortSetzen(*port);
    m_port->InputLenSetzen(0);
    geoeffnet = geoeffnet && m_port->oeffnen();
    if (!geoeffnet) {
        m_port->schliessen();
        Piep();
        Meldung(this, PortMeldung(weg == Schaltweg::Taste ? z.Einstellung[6]
                                                          : QString::number(m_port->CommPort())));
        druckerSchalter(0);
        return;
    }
    druckerSchalter(1);
    m_port->Output(escpos::TabulatorSetzen());
    m_port->Output(escpos::StatusAutomatikEin());
}

void Kasse::schnittstelleWaehlen()
{
    auto *dialog = new Einstell(*m_port, z.Einstellung[6], [this](int port) {
        m_funktion[6]->beschriftungSetzen(u"Com "_qs + QString::number(port));
    }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void Kasse::druckerStatusLesen()
{
    // Only what is already waiting: the register never waits for the printer.
    if (z.DruckerEin != 1 || m_port->InBufferCount() < 1)
        return;
    const QByteArray status = m_port->Input();
    if (!status.isEmpty())
        panelSetzen(8, DruckerStatusText(static_cast<unsigned char>(status.at(0))));
}

void Kasse::druckerFehler()
{
    // The receipt on its way may be incomplete: the operator must see it.
    panelSetzen(8, u" Fehler "_qs);
}

Anzeige &Kasse::anzeige()
{
    if (!m_anzeige)
        m_anzeige = new Anzeige(this);
    return *m_anzeige;
}

void Kasse::berichtSenden(const QList<QByteArray> &ausgaben)
{
    for (const QByteArray &ausgabe : ausgaben)
        m_port->Output(ausgabe);
}

void Kasse::berichtZeigen(const QString &text)
{
    Anzeige &fenster = anzeige();
    fenster.textSetzen(text);
    fenster.show();
    fenster.raise();
}

BerichtDaten Kasse::berichtDaten() const
{
    BerichtDaten daten;
    daten.Verkauft = z.Verkauft;
    daten.ArtikelText = z.Tasten.ArtikelText;
    daten.ArtikelPreis = z.Tasten.ArtikelPreis;
    daten.Kopfzeile = z.Kopfzeile;
    daten.BonImageNr = z.BonImageNr;
    const QDateTime jetzt = QDateTime::currentDateTime();
    daten.zeit = jetzt.time();
    daten.datum = jetzt.date();
    return daten;
}

void Kasse::VerkaufsbelegAusgeben()
{
    if (z.DruckerEin == 1)
        berichtSenden(VerkaufsbelegDruck(berichtDaten()));
    else
        berichtZeigen(VerkaufsbelegText(berichtDaten()));
}

void Kasse::TastenbelegungAusgeben()
{
    if (z.DruckerEin == 1)
        berichtSenden(TastenbelegungDruck(berichtDaten()));
    else
        berichtZeigen(TastenbelegungText(berichtDaten()));
}

void Kasse::HilfeAnzeigen()
{
    berichtZeigen(HilfeText());
}

} // namespace zanti
