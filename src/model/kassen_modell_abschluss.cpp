// Closing the receipt with "=", all or nothing (persistence/abschluss.h says
// how), what start-up and a failing database need of it, and the void.
#include "model/kassen_modell.h"

#include "core/bon_zeile.h"
#include "model/protokoll.h"
#include "persistence/abschluss.h"
#include "persistence/bon_tabelle.h"
#include "persistence/datei.h"
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"
#include "veranstaltung/weiterleitung.h"

#include <QDateTime>
#include <QFileInfo>

namespace zanti {

void KassenModell::BonAbschliessen()
{
    const QList<BonZeile> zeilen = m_bon->zeilen();
    Verkaufszahlen verkauft = m_zustand.Verkauft;
    std::optional<Cent> summe = 0;
    std::optional<Cent> gesamteinnahme;
    bool passt = true;
    for (const BonZeile &zeile : zeilen) {
        // Element 36 holds the takings, never a key count.
        if (zeile.Tastennr >= 1 && zeile.Tastennr <= kArtikelTasten) {
            const auto anzahl = SummeAddieren(verkauft[zeile.Tastennr], zeile.Menge);
            passt = passt && anzahl;
            verkauft[zeile.Tastennr] = anzahl.value_or(0);
        }
        summe = summe ? SummeAddieren(*summe, zeile.Betrag) : summe;
    }
    if (summe)
        gesamteinnahme = SummeAddieren(m_zustand.Gesamteinnahme, *summe);
    if (!passt || !gesamteinnahme) {
        fehler(u"Der Bon kann nicht abgeschlossen werden: die Summe ist zu groß für die Kasse."_qs);
        return;
    }
    verkauft[kEinnahmen] = *gesamteinnahme;

    // Nothing of the close shows, prints or counts before it is committed,
    // with the receipt and the voids since the last close in the journal.
    Abschluss abschluss = abschlussVorbereiten(verkauft);
    Beleg beleg = belegVorbereiten(zeilen, *summe);
    if (!m_bon->abschliessen(abschluss, beleg, m_offeneStornos)) {
        abschlussFehlgeschlagen();
        return;
    }
    m_offeneStornos.clear();
    m_letzterBeleg = beleg.lfd;
    if (m_weiterleitung)
        m_weiterleitung->belegGeschlossen();

    m_zustand.BonSumme = *summe;
    if (m_zustand.BonSumme > 0) {
        emit knopfFreigeben(Knopf::Istgleich, false);
        emit knopfFreigeben(Knopf::Storno, false);
        emit knopfFreigeben(Knopf::Gegeben, true);
    }
    m_zustand.G_Summe = m_zustand.BonSumme;
    m_zustand.Gesamteinnahme = *gesamteinnahme;
    m_zustand.Verkauft = verkauft;

    emit anzeigeSetzen(Anzeigefeld::Text, u"GESAMT"_qs);
    emit anzeigeSetzen(Anzeigefeld::Betrag, BetragFormat(m_zustand.BonSumme));
    emit anzeigeSetzen(Anzeigefeld::Menge, {});

    // The drawer pulse is a real-time command: a printer obeys it even offline.
    SchubladeOeffnen();
    BonDrucken(beleg);
    emit statusSetzen(3, BetragFormat(m_zustand.Gesamteinnahme));
    if (dateienSchreiben(abschluss.verkaufNachher))
        m_bon->abschlussErledigt(abschluss.nr);
    EinstellungenSpeichern();
    m_zustand.BonSumme = 0;
}

void KassenModell::SchubladeOeffnen()
{
    if (m_port.PortOpen())
        m_port.Output(escpos::Schubladenimpuls());
}

Abschluss KassenModell::abschlussVorbereiten(const Verkaufszahlen &verkauft) const
{
    Abschluss a;
    m_protokoll->abschlussFuellen(a);
    a.protokollVorherGroesse = QFileInfo(datei(u"protokoll.txt"_qs)).size();

    const QString verkaufPfad = datei(u"verkauf.ini"_qs);
    a.verkaufVorher = DateiLesen(verkaufPfad).value_or(QByteArray());
    IniDatei ini = IniDatei::AusBytes(verkaufPfad, a.verkaufVorher);
    VerkaufszahlenSchreiben(ini, verkauft);
    a.verkaufNachher = ini.inhalt();
    return a;
}

void KassenModell::abschlussFehlgeschlagen()
{
    if (m_bon->imSpeicher()) {
        fehler(u"Der Bon konnte nicht abgeschlossen werden. Bitte noch einmal „=“ drücken."_qs);
        return;
    }
    // The rows stay in daten.db as well; the next start drops them uncounted.
    fehler(u"Der Bon konnte nicht abgeschlossen werden, weil die Datenbank daten.db nicht "
           "geschrieben werden kann. Die Zeilen bleiben offen und werden ab jetzt nur im "
           "Speicher gehalten. Bitte noch einmal „=“ drücken."_qs);
    if (!m_bon->inDenSpeicher())
        m_bon->oeffnen(u":memory:"_qs);
}

bool KassenModell::datenbankAusgefallen()
{
    if (m_bon->imSpeicher())
        return false;
    emit meldung(u"Die Datenbank daten.db kann nicht mehr geschrieben werden. "
                 "Der offene Bon wird nur im Speicher gehalten."_qs,
                 u"Fehler"_qs);
    return m_bon->inDenSpeicher();
}

void KassenModell::abschluesseNachholen()
{
    const QString protokollPfad = datei(u"protokoll.txt"_qs);
    const QString verkaufPfad = datei(u"verkauf.ini"_qs);
    for (const Abschluss &a : m_bon->offeneAbschluesse()) {
        const Nachholen n = AbschlussNachholen(a, DateiLesen(protokollPfad), DateiLesen(verkaufPfad));
        bool geschrieben = true;
        if (n.protokoll)
            geschrieben = dateiGespeichert(protokollPfad, DateiSpeichern(protokollPfad, *n.protokoll));
        if (n.verkauf)
            geschrieben = dateiGespeichert(verkaufPfad, DateiSpeichern(verkaufPfad, *n.verkauf))
                && geschrieben;
        if (geschrieben)
            m_bon->abschlussErledigt(a.nr);
    }
}

bool KassenModell::Storno(int zeile)
{
    m_bon->aktuelleZeileSetzen(zeile);
    if (m_bon->BOF() || m_bon->EOF_() || m_bon->aktuelleZeile() != zeile)
        return false;
    const BonZeile gewaehlt = m_bon->aktuell();
    // The row goes first: a line the database still holds must not show
    // as voided in the protocol.
    if (!m_bon->loeschen() && !(datenbankAusgefallen() && m_bon->loeschen())) {
        fehler(u"Die Zeile konnte nicht storniert werden. Bitte noch einmal versuchen."_qs);
        return false;
    }
    m_protokoll->zeileVoranstellen(ProtokollStornoZeile(gewaehlt, QTime::currentTime()));
    // Journalled with the next close, as the protocol line goes to disk then.
    stornoVormerken(gewaehlt);
    return true;
}

} // namespace zanti
