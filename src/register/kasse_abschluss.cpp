// Closing the receipt with "=", all or nothing (persistence/abschluss.h says
// how), and what start-up and a failing database need of it.
#include "persistence/abschluss.h"
#include "persistence/datei.h"
#include "persistence/ini_datei.h"
#include "core/text_helfer.h"
#include "persistence/verkauf.h"
#include "printing/bon_layout.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"
#include "persistence/bon_tabelle.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>

namespace zanti {

void Kasse::BonAbschliessen()
{
    const QList<BonZeile> zeilen = m_bon->zeilen();
    Verkaufszahlen verkauft = z.Verkauft;
    std::optional<Cent> summe = 0;
    std::optional<Cent> gesamteinnahme;
    bool passt = true;
    for (const BonZeile &zeile : zeilen) {
        // Element 36 holds the takings, never a key count.
        if (zeile.Tastennr >= 1 && zeile.Tastennr <= kArtikelTasten) {
            const auto anzahl = SummeAddieren(verkauft[zeile.Tastennr], BetragLesen(zeile.Anzahl).value_or(0));
            passt = passt && anzahl;
            verkauft[zeile.Tastennr] = anzahl.value_or(0);
        }
        summe = summe ? SummeAddieren(*summe, BetragLesen(zeile.Preis).value_or(0)) : summe;
    }
    if (summe)
        gesamteinnahme = SummeAddieren(z.Gesamteinnahme, *summe);
    if (!passt || !gesamteinnahme) {
        Piep();
        Meldung(this, u"Der Bon kann nicht abgeschlossen werden: die Summe ist zu groß für die Kasse."_qs,
                u"Fehler"_qs);
        return;
    }
    verkauft[kEinnahmen] = *gesamteinnahme;

    // Nothing of the close shows, prints or counts before it is committed.
    Abschluss abschluss = abschlussVorbereiten(verkauft);
    if (!m_bon->abschliessen(abschluss)) {
        abschlussFehlgeschlagen();
        return;
    }

    z.BonSumme = *summe;
    if (z.BonSumme > 0) {
        m_istgleich->setEnabled(false);
        m_storno->setEnabled(false);
        m_gegebenTaste->setEnabled(true);
    }
    z.G_Summe = z.BonSumme;
    z.Gesamteinnahme = *gesamteinnahme;
    z.Verkauft = verkauft;

    m_label1[0]->setText(u"GESAMT"_qs);
    m_label1[1]->setText(BetragFormat(z.BonSumme));
    m_label2->clear();

    if (m_port->PortOpen())
        m_port->Output(escpos::Schubladenimpuls());
    BonDrucken(zeilen);
    panelSetzen(3, BetragFormat(z.Gesamteinnahme));
    if (VerkaufSpeichern())
        m_bon->abschlussErledigt(abschluss.nr);
    EinstellungenSpeichern();
    z.BonSumme = 0;
}

void Kasse::BonDrucken(const QList<BonZeile> &zeilen)
{
    if (z.DruckerEin == 1 && !zeilen.isEmpty()) {
        BonDruckDaten daten;
        daten.BonImageNr = z.BonImageNr;
        daten.Kopfzeile = z.Kopfzeile;
        daten.Einzelbon = z.Einzelbon;
        daten.TischnummerAnzeige = z.TischnummerAnzeige;
        daten.Tischnummer = z.Tischnummer;
        daten.Einstellung8 = z.Einstellung[8];
        daten.BonSumme = z.BonSumme;
        const QDateTime jetzt = QDateTime::currentDateTime();
        daten.zeit = jetzt.time();
        daten.datum = jetzt.date();
        // The port queues every write; the window never waits for the line.
        for (const QByteArray &ausgabe : BonAusgabe(daten, zeilen))
            m_port->Output(ausgabe);
    }
    z.Tischnummer = 0;
}

Abschluss Kasse::abschlussVorbereiten(const Verkaufszahlen &verkauft) const
{
    Abschluss a;
    const QString text = m_protokoll->text();
    a.protokollErsetzen = m_protokollErsetzt || m_protokollGespeichert > text.size();
    a.protokollKopf = a.protokollErsetzen
        ? ProtokollDateiInhalt(text)
        : Cp1252Schreiben(text.left(text.size() - m_protokollGespeichert));
    a.protokollVorherGroesse = QFileInfo(ProgrammDatei(m_ordner, u"protokoll.txt"_qs)).size();

    const QString verkaufPfad = ProgrammDatei(m_ordner, u"verkauf.ini"_qs);
    a.verkaufVorher = DateiLesen(verkaufPfad).value_or(QByteArray());
    IniDatei ini = IniDatei::Laden(verkaufPfad);
    VerkaufszahlenSchreiben(ini, verkauft);
    a.verkaufNachher = ini.inhalt();
    return a;
}

void Kasse::abschlussFehlgeschlagen()
{
    Piep();
    if (m_bon->imSpeicher()) {
        Meldung(this, u"Der Bon konnte nicht abgeschlossen werden. Bitte noch einmal „=“ drücken."_qs,
                u"Fehler"_qs);
        return;
    }
    // The rows stay in daten.db as well; the next start drops them uncounted.
    Meldung(this,
            u"Der Bon konnte nicht abgeschlossen werden, weil die Datenbank daten.db nicht "
            "geschrieben werden kann. Die Zeilen bleiben offen und werden ab jetzt nur im "
            "Speicher gehalten. Bitte noch einmal „=“ drücken."_qs,
            u"Fehler"_qs);
    if (!m_bon->inDenSpeicher())
        m_bon->oeffnen(u":memory:"_qs);
}

bool Kasse::datenbankAusgefallen()
{
    if (m_bon->imSpeicher())
        return false;
    Meldung(this, u"Die Datenbank daten.db kann nicht mehr geschrieben werden. "
                  "Der offene Bon wird nur im Speicher gehalten."_qs,
            u"Fehler"_qs);
    return m_bon->inDenSpeicher();
}

void Kasse::abschluesseNachholen()
{
    const QString protokollPfad = ProgrammDatei(m_ordner, u"protokoll.txt"_qs);
    const QString verkaufPfad = ProgrammDatei(m_ordner, u"verkauf.ini"_qs);
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

} // namespace zanti
