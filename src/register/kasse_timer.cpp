// Timer1: every 50 ms it guards the receipt keys, acts on ESC and the
// function keys, shows the printer's status, keeps the clock in the status
// bar and applies the look of the current mode.
#include "register/kasse.h"
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
    if (t.gedrueckt(Qt::Key_F10))
        m_modell->VerkaufsbelegAusgeben();
    if (t.gedrueckt(Qt::Key_F11))
        m_modell->TastenbelegungAusgeben();
    if (t.gedrueckt(Qt::Key_F12)) {
        // Leaving asks no password and leaves the function buttons alone.
        if (z.Einstellmodus == 1) {
            m_modell->EinstellmodusSetzen(0);
            TastenBeschriften();
        } else {
            anmeldungZeigen();
        }
    }

    const QDateTime jetzt = QDateTime::currentDateTime();
    panelSetzen(1, jetzt.toString(u"hh:mm:ss"_qs));
    panelSetzen(2, jetzt.toString(u"dd.MM.yyyy"_qs));

    if (z.Einstellmodus == 1) {
        panelSetzen(4, u"Einstellen"_qs);
        m_raster->hide();
        m_protokoll->hide();
        m_rahmen1->hide();
        m_shape2->show();
        m_shape2->lower();
        for (int i = 1; i <= kArtikelTasten; ++i)
            m_artikel[i]->setEnabled(true);
        for (int i = 0; i <= 6; ++i)
            m_funktion[i]->setEnabled(true);
    } else {
        normaleAnsicht();
    }
}

void Kasse::normaleAnsicht()
{
    panelSetzen(4, u"F1 - Tastenhilfe"_qs);
    m_raster->show();
    m_protokoll->show();
    m_shape2->hide();
}

void Kasse::FunktionstastenAus()
{
    for (int i = 0; i <= 6; ++i)
        m_funktion[i]->setEnabled(false);
    for (KassenTaste *knopf : m_funktion)
        knopf->hide();
}

void Kasse::FunktionstastenEin()
{
    for (KassenTaste *knopf : m_funktion)
        knopf->show();
}

void Kasse::HomeButton_Click()
{
    if (z.Einstellmodus == 1) {
        m_modell->EinstellmodusSetzen(0);
        TastenBeschriften();
        normaleAnsicht();
    }
    FunktionstastenAus();
}

} // namespace zanti
