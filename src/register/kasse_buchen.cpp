// The open receipt: booking an article key and closing the receipt with "=".
#include "persistence/verkauf.h"
#include "printing/bon_layout.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"
#include "register/bon_tabelle.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QLabel>

namespace zanti {

void Kasse::artikelTaste(int nummer)
{
    z.Taste = nummer;
    ArtikelBuchen();
}

void Kasse::ArtikelBuchen()
{
    const int k = z.Taste;
    // Whatever happens, the next key starts without a quantity.
    const auto mengeZuruecksetzen = qScopeGuard([this] { z.Anzahl_Eingabe = u"0"_qs; });

    if (z.Einstellmodus == 1) {
        editorOeffnen(k);
        return;
    }
    editorZeigen(false);

    if (z.TischnummerAnzeige == 1 && z.Tischnummer == 0) {
        tischnummerErfragen();
        return;
    }
    if (BetragLesen(z.Anzahl_Eingabe).value_or(0) == 0)
        z.Anzahl_Eingabe = u"1"_qs;

    const std::optional<Cent> betrag = ZeilenBetrag(z.Tasten.ArtikelPreis[k], z.Anzahl_Eingabe);
    if (!betrag) {
        Piep();
        Meldung(this, u"Diese Taste hat keinen gültigen Preis."_qs, u"Fehler"_qs);
        return;
    }

    BonZeile zeile;
    zeile.Anzahl = z.Anzahl_Eingabe;
    zeile.Artikel = z.Tasten.ArtikelText[k];
    zeile.Preis = BetragFormat(*betrag);
    zeile.Tastennr = k;
    zeile.BonId = z.Zaehler;
    if (!m_bon->hinzufuegen(zeile)) {
        Piep();
        Meldung(this, u"Die Buchung konnte nicht gespeichert werden. Bitte noch einmal versuchen."_qs,
                u"Fehler"_qs);
        return;
    }

    m_euro->setText(u"€ "_qs);
    m_label2->setText(z.Anzahl_Eingabe);
    m_label1[0]->setText(z.Tasten.ArtikelText[k]);
    m_label1[1]->setText(zeile.Preis);

    ProtokollEintragen();
    m_istgleich->setEnabled(true);
    m_storno->setEnabled(true);
    m_gegebenTaste->setEnabled(false);
}

void Kasse::ProtokollEintragen()
{
    const int k = z.Taste;
    const Cent betrag = ZeilenBetrag(z.Tasten.ArtikelPreis[k], z.Anzahl_Eingabe).value_or(0);
    m_protokoll->zeileVoranstellen(ProtokollVerkaufsZeile(
        z.Zaehler, QTime::currentTime(), z.Anzahl_Eingabe, z.Tasten.ArtikelText[k], betrag));
    ++z.Zaehler;
}

void Kasse::BonAbschliessen()
{
    for (const BonZeile &zeile : m_bon->zeilen()) {
        // Element 36 holds the takings, never a key count.
        if (zeile.Tastennr >= 1 && zeile.Tastennr <= kArtikelTasten)
            z.Verkauft[zeile.Tastennr] += BetragLesen(zeile.Anzahl).value_or(0);
        z.BonSumme += BetragLesen(zeile.Preis).value_or(0);
    }
    if (z.BonSumme > 0) {
        m_istgleich->setEnabled(false);
        m_storno->setEnabled(false);
        m_gegebenTaste->setEnabled(true);
    }
    z.G_Summe = z.BonSumme;
    z.Gesamteinnahme += z.BonSumme;

    m_label1[0]->setText(u"GESAMT"_qs);
    m_label1[1]->setText(BetragFormat(z.BonSumme));
    m_label2->clear();
    z.Verkauft[36] = z.Gesamteinnahme;

    if (m_port->PortOpen())
        m_port->Output(escpos::Schubladenimpuls());
    BonDrucken();
    panelSetzen(3, BetragFormat(z.Gesamteinnahme));
    VerkaufSpeichern();
    EinstellungenSpeichern();
    z.BonSumme = 0;
}

void Kasse::BonDrucken()
{
    if (z.DruckerEin == 1 && m_bon->anzahl() > 0) {
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
        for (const QByteArray &ausgabe : BonAusgabe(daten, m_bon->zeilen()))
            m_port->Output(ausgabe);
    }
    m_bon->alleLoeschen();
    z.Tischnummer = 0;
}

} // namespace zanti
