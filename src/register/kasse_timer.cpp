// Timer1: every 50 ms it guards the receipt keys, acts on ESC and the
// function keys, shows the printer's status and keeps the clock in the
// status bar. The look of set-up mode follows the model when it changes.
#include "core/text_helfer.h"
#include "register/kasse.h"
#include "register/bon_liste.h"
#include "register/kassen_taste.h"
#include "register/protokoll_box.h"
#include "register/tastenabfrage.h"

#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>

namespace zanti {

void Kasse::Timer1_Timer()
{
    m_modell->BonTastenPruefen();

    // Every key is asked on every tick, so a press that may not act now is
    // used up and cannot act later.
    Tastenabfrage &t = *m_tastenabfrage;
    if (t.gedrueckt(Qt::Key_Escape)) {
        close(); // saves and ends the program, in any mode
        return;
    }
    if (t.gedrueckt(Qt::Key_F1))
        HilfeAnzeigen();
    if (t.gedrueckt(Qt::Key_F2))
        m_modell->DruckerUmschalten(KassenModell::Schaltweg::Taste);

    m_modell->DruckerStatusLesen();

    // The operations check set-up mode themselves, as for their buttons.
    if (t.gedrueckt(Qt::Key_F3))
        m_modell->EinzelbonUmschalten();
    if (t.gedrueckt(Qt::Key_F4))
        m_modell->TischnummerUmschalten();
    if (t.gedrueckt(Qt::Key_F5))
        m_modell->ProtokollLoeschen();
    if (t.gedrueckt(Qt::Key_F6))
        m_modell->VerkaufszahlenLoeschen();
    if (t.gedrueckt(Qt::Key_F7))
        bonkopfZeigen();
    if (t.gedrueckt(Qt::Key_F8))
        m_modell->VeranstaltungsberichtAnfordern();
    if (t.gedrueckt(Qt::Key_F9) && m_zustand.Einstellmodus)
        bonListeZeigen();
    if (t.gedrueckt(Qt::Key_F10))
        m_modell->VerkaufsbelegAusgeben();
    if (t.gedrueckt(Qt::Key_F11))
        m_modell->TastenbelegungAusgeben();
    if (t.gedrueckt(Qt::Key_F12)) {
        // Leaving asks no password and leaves the function buttons alone.
        if (m_zustand.Einstellmodus)
            m_modell->EinstellmodusVerlassen();
        else
            anmeldungZeigen();
    }

    const QDateTime jetzt = QDateTime::currentDateTime();
    panelSetzen(1, ZeitText(jetzt.time()));
    panelSetzen(2, DatumText(jetzt.date()));
}

void Kasse::modusZeigen(bool einstellmodus)
{
    m_raster->setVisible(!einstellmodus);
    m_protokoll->setVisible(!einstellmodus);
    m_shape2->setVisible(einstellmodus);
    m_abrechnung->setVisible(einstellmodus);
    m_abrechnungStick->setVisible(einstellmodus);
    if (!einstellmodus) {
        // Copies are for set-up mode only.
        if (m_bonListe)
            m_bonListe->close();
        return;
    }
    m_rahmen1->hide();
    m_shape2->lower();
    for (int i = 0; i <= 6; ++i)
        m_funktion[i]->setEnabled(true);
}

void Kasse::FunktionstastenAus()
{
    // In set-up mode they stay ready for the next time they are shown.
    if (!m_zustand.Einstellmodus) {
        for (int i = 0; i <= 6; ++i)
            m_funktion[i]->setEnabled(false);
    }
    for (KassenTaste *knopf : m_funktion)
        knopf->hide();
}

void Kasse::FunktionstastenEin()
{
    for (KassenTaste *knopf : m_funktion)
        knopf->show();
}

void Kasse::bonListeZeigen()
{
    if (!m_bonListe) {
        m_bonListe = new BonListe(this);
        connect(m_bonListe, &BonListe::kopieDrucken, m_modell, &KassenModell::KopieDrucken);
    }
    m_bonListe->eintraegeSetzen(m_modell->NeuesteBons(50));
    m_bonListe->show();
    m_bonListe->raise();
}

void Kasse::HomeButton_Click()
{
    m_modell->EinstellmodusVerlassen();
    FunktionstastenAus();
}

} // namespace zanti
