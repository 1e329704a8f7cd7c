// The printer: opening the port at start-up, the printer switch, the port
// dialog, and the reports that go to the printer or into the window Anzeige.
#include "model/drucker_dienst.h"
#include "printing/berichte.h"
#include "printing/drucker_port.h"
#include "register/anzeige.h"
#include "register/einstell.h"
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

} // namespace

void Kasse::druckerSchalter(int ein)
{
    z.Einstellung.DruckerEin = ein == 1;
    panelSetzen(5, ein == 1 ? u"F2 - Drucker ein"_qs : u"F2 - Drucker aus"_qs);
}

void Kasse::DruckerStarten()
{
    QString meldung;
    const bool ein = m_drucker->starten(z.Einstellung.ComPort, &meldung);
    if (!ein)
        Meldung(this, meldung);
    druckerSchalter(ein ? 1 : 0);
}

void Kasse::DruckerUmschalten(Schaltweg weg)
{
    QString meldung;
    const bool ein = m_drucker->umschalten(z.Einstellung.DruckerEin, z.Einstellung.ComPort, weg, &meldung);
    if (!meldung.isEmpty()) {
        Piep();
        Meldung(this, meldung);
    }
    druckerSchalter(ein ? 1 : 0);
}

void Kasse::schnittstelleWaehlen()
{
    auto *dialog = new Einstell(z.Einstellung.ComPort, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &Einstell::portGewaehlt, this, [this, dialog](int nummer, const QString &text) {
        if (const std::optional<QString> fehler = m_drucker->waehlen(nummer, text)) {
            dialog->nichtGeoeffnet(*fehler);
            return;
        }
        m_funktion[6]->beschriftungSetzen(u"Com "_qs + QString::number(m_drucker->port()));
        dialog->accept();
    });
    dialog->show();
}

void Kasse::druckerStatusLesen()
{
    // Only what is already waiting: the register never waits for the printer.
    if (!z.Einstellung.DruckerEin || m_port->InBufferCount() < 1)
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
    daten.BonImageNr = z.Einstellung.BonImageNr;
    const QDateTime jetzt = QDateTime::currentDateTime();
    daten.zeit = jetzt.time();
    daten.datum = jetzt.date();
    return daten;
}

void Kasse::VerkaufsbelegAusgeben()
{
    if (z.Einstellung.DruckerEin)
        berichtSenden(VerkaufsbelegDruck(berichtDaten()));
    else
        berichtZeigen(VerkaufsbelegText(berichtDaten()));
}

void Kasse::TastenbelegungAusgeben()
{
    if (z.Einstellung.DruckerEin)
        berichtSenden(TastenbelegungDruck(berichtDaten()));
    else
        berichtZeigen(TastenbelegungText(berichtDaten()));
}

void Kasse::HilfeAnzeigen()
{
    berichtZeigen(HilfeText());
}

} // namespace zanti
