// The open receipt: booking an article key.
#include "persistence/verkauf.h"
#include "persistence/bon_tabelle.h"
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
    if (!m_bon->hinzufuegen(zeile) && !(datenbankAusgefallen() && m_bon->hinzufuegen(zeile))) {
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

} // namespace zanti
