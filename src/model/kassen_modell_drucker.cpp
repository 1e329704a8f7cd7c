// The printer as the register uses it: opening at start-up, the switch, the
// port dialog's choice (all through the printer service), the status bytes
// for panel 8, and the reports, printed or handed out as text.
#include "model/drucker_dienst.h"
#include "model/kassen_modell.h"
#include "printing/berichte.h"
#include "printing/drucker_port.h"
#include "printing/drucker_status.h"

#include <QDateTime>

#include <utility>

namespace zanti {

void KassenModell::druckerSchalter(bool ein)
{
    m_zustand.Einstellung.DruckerEin = ein;
    emit statusSetzen(5, ein ? u"F2 - Drucker ein"_qs : u"F2 - Drucker aus"_qs);
    // A printer just opened is taken as ready until its report says otherwise.
    m_status.zuruecksetzen();
}

void KassenModell::DruckerOeffnen()
{
    Druckerstart start;
    start.ein = m_drucker->starten(m_zustand.Einstellung.ComPort, &start.meldung);
    m_druckerstart = start;
}

void KassenModell::DruckerStarten()
{
    if (!m_druckerstart)
        DruckerOeffnen();
    const Druckerstart start = *std::exchange(m_druckerstart, std::nullopt);
    if (!start.ein)
        emit meldung(start.meldung, {});
    druckerSchalter(start.ein);
}

void KassenModell::DruckerUmschalten(Schaltweg weg)
{
    QString meldung;
    const Einstellungen &e = m_zustand.Einstellung;
    const bool ein = m_drucker->umschalten(e.DruckerEin, e.ComPort, weg, &meldung);
    if (!meldung.isEmpty()) {
        emit piep();
        emit this->meldung(meldung, {});
    }
    druckerSchalter(ein);
}

std::optional<QString> KassenModell::SchnittstelleWaehlen(int nummer, const QString &text)
{
    std::optional<QString> fehler = m_drucker->waehlen(nummer, text);
    if (!fehler)
        comZeigen(QString::number(m_drucker->port()));
    return fehler;
}

void KassenModell::comZeigen(const QString &port)
{
    emit comBeschriftung(u"Com "_qs + port);
}

void KassenModell::DruckerStatusLesen()
{
    // Only what is already waiting: the register never waits for the printer.
    if (!m_zustand.Einstellung.DruckerEin || m_port.InBufferCount() < 1)
        return;
    const QByteArray status = m_port.Input();
    if (status.isEmpty())
        return;
    m_status.einspeisen(status);
    // The panel names the first byte read; the paper's end comes from the
    // whole report.
    m_statusText = DruckerStatusText(static_cast<unsigned char>(status.at(0)), m_status.stand());
    panel8Zeigen();
    wartendeDrucken();
}

BerichtDaten KassenModell::berichtDaten() const
{
    BerichtDaten daten;
    daten.Verkauft = m_zustand.Verkauft;
    daten.ArtikelText = m_zustand.Tasten.ArtikelText;
    daten.ArtikelPreis = m_zustand.Tasten.ArtikelPreis;
    daten.Kopfzeile = m_zustand.Kopfzeile;
    daten.BonImageNr = m_zustand.Einstellung.BonImageNr;
    const QDateTime jetzt = QDateTime::currentDateTime();
    daten.zeit = jetzt.time();
    daten.datum = jetzt.date();
    return daten;
}

void KassenModell::berichtAusgeben(const QList<QByteArray> &druck, const QString &text)
{
    if (!m_zustand.Einstellung.DruckerEin) {
        emit berichtZeigen(text);
        return;
    }
    for (const QByteArray &ausgabe : druck)
        m_port.Output(ausgabe);
}

void KassenModell::HilfeAnzeigen()
{
    emit berichtZeigen(HilfeText());
}

void KassenModell::VerkaufsbelegAusgeben()
{
    const BerichtDaten daten = berichtDaten();
    berichtAusgeben(VerkaufsbelegDruck(daten), VerkaufsbelegText(daten));
}

void KassenModell::TastenbelegungAusgeben()
{
    const BerichtDaten daten = berichtDaten();
    berichtAusgeben(TastenbelegungDruck(daten), TastenbelegungText(daten));
}

} // namespace zanti
