// The row of function buttons, the gestures on the customer display and the
// keypad for the amount given and the table number.
#include "register/bonkopf.h"
#include "register/anmeldung.h"
#include "register/eingabefeld.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/protokoll_box.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

namespace zanti {

namespace {

// Windows of which one is enough: a second press brings the open one to the
// front, so no stale copy can overwrite what a newer one stored.
bool OffenesNachVorn(QWidget *hauptfenster, const QString &name)
{
    for (QWidget *offen : hauptfenster->findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly)) {
        if (offen->isVisible()) {
            offen->raise();
            offen->activateWindow();
            return true;
        }
    }
    return false;
}

} // namespace

void Kasse::funktionenVerbinden()
{
    const auto verbinden = [this](int nummer, void (Kasse::*aktion)()) {
        connect(m_funktion[nummer - 100], &QPushButton::clicked, this, aktion);
    };
    const auto anModell = [this](int nummer, void (KassenModell::*aktion)()) {
        connect(m_funktion[nummer - 100], &QPushButton::clicked, m_modell, aktion);
    };
    anModell(100, &KassenModell::SalatUmschalten);
    anModell(101, &KassenModell::EinzelbonUmschalten);
    anModell(102, &KassenModell::TischnummerUmschalten);
    anModell(103, &KassenModell::ProtokollLoeschen);
    anModell(104, &KassenModell::VerkaufszahlenLoeschen);
    verbinden(105, &Kasse::bonkopfZeigen);
    connect(m_funktion[6], &QPushButton::clicked, this, [this] {
        if (!OffenesNachVorn(this, u"Einstell"_qs))
            schnittstelleWaehlen();
    });
    connect(m_funktion[7], &QPushButton::clicked, m_modell,
            [this] { m_modell->DruckerUmschalten(KassenModell::Schaltweg::Knopf); });
    anModell(108, &KassenModell::VerkaufsbelegAusgeben);
    anModell(109, &KassenModell::TastenbelegungAusgeben);
    connect(m_modell, &KassenModell::berichtZeigen, this, &Kasse::berichtZeigen);
    connect(m_protokoll, &ProtokollBox::geklickt, m_rahmen1, &QWidget::show);
    for (QWidget *w : {static_cast<QWidget *>(m_label1[0]), static_cast<QWidget *>(m_label1[1]),
                       static_cast<QWidget *>(m_label2), static_cast<QWidget *>(m_euro)})
        w->installEventFilter(this);
}

void Kasse::bonkopfZeigen()
{
    if (!m_zustand.Einstellmodus || OffenesNachVorn(this, u"Bonkopf"_qs))
        return;
    auto *dialog = new Bonkopf(m_modell->BonkopfLesen(), m_zustand.Einstellung.BonImageNr, this);
    connect(dialog, &Bonkopf::uebernommen, this,
            [this, dialog](const Kopfzeilen &kopfzeile, const QString &logo) {
                dialog->beantworten(m_modell->BonkopfUebernehmen(kopfzeile, logo));
            });
    dialog->show();
}

void Kasse::anmeldungZeigen()
{
    if (!m_anmeldung) {
        m_anmeldung = new Anmeldung(this);
        connect(m_anmeldung, &Anmeldung::kennwortEingegeben, this, &Kasse::kennwortEingegeben);
    }
    m_anmeldung->zeigen();
}

void Kasse::kennwortEingegeben(const QString &kennwort)
{
    if (m_modell->KennwortPruefen(kennwort))
        m_anmeldung->angenommen();
    else
        m_anmeldung->abgelehnt();
}

Eingabefeld &Kasse::eingabefeld()
{
    if (!m_eingabefeld) {
        m_eingabefeld = new Eingabefeld(this);
        // What is typed shows in the amount line.
        connect(m_eingabefeld, &Eingabefeld::eingabeGeaendert, m_label1[1], &QLabel::setText);
        connect(m_eingabefeld, &Eingabefeld::bestaetigt, this, &Kasse::eingabeBestaetigt);
        connect(m_eingabefeld, &Eingabefeld::abgebrochen, m_modell, &KassenModell::EingabeAbgebrochen);
    }
    return *m_eingabefeld;
}

void Kasse::eingabefeldZeigen()
{
    eingabefeld().zeigen(m_modell->Schnellbetraege());
}

void Kasse::eingabeBestaetigt(const QString &eingabe)
{
    // A refusal opens over the keypad, where the entry was made.
    m_meldungsEltern = m_eingabefeld;
    const bool angenommen = m_modell->EingabeUebernehmen(eingabe);
    m_meldungsEltern = nullptr;
    if (angenommen)
        m_eingabefeld->angenommen();
    else
        m_eingabefeld->abgelehnt();
}

void Kasse::GegebenTaste_Click()
{
    eingabefeldZeigen();
    m_modell->GegebenTaste();
}

bool Kasse::anzeigeGeste(QObject *objekt, QEvent *ereignis)
{
    if (ereignis->type() == QEvent::MouseButtonPress && objekt == m_label1[1]) {
        // The amount line shows and hides the function buttons.
        if (m_funktion[0]->isVisible()) {
            FunktionstastenAus();
        } else {
            FunktionstastenEin();
            m_funktion[0]->beschriftungSetzen(m_modell->SalatBeschriftung());
        }
        return true;
    }
    if (ereignis->type() != QEvent::MouseButtonDblClick)
        return false;
    if (objekt == m_label1[0] || objekt == m_label1[1]) {
        anmeldungZeigen();
        return true;
    }
    if (objekt == m_label2) {
        close();
        return true;
    }
    if (objekt == m_euro) {
        m_modell->SchubladeOeffnen();
        return true;
    }
    return false;
}

} // namespace zanti
