// What the model says, shown: the customer display, the receipt keys, the
// status bar and the messages.
#include "model/protokoll.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"

#include <QLabel>

namespace zanti {

void Kasse::modellVerbinden()
{
    connect(m_modell, &KassenModell::tastenGeaendert, this, &Kasse::TastenBeschriften);
    connect(m_modell, &KassenModell::einstellmodusGeaendert, this, &Kasse::modusZeigen);
    connect(m_modell, &KassenModell::comBeschriftung, m_funktion[6], &KassenTaste::beschriftungSetzen);
    connect(m_modell, &KassenModell::anzeigeSetzen, this, &Kasse::anzeigeSetzen);
    connect(m_modell, &KassenModell::knopfFreigeben, this, &Kasse::knopfFreigeben);
    connect(m_modell, &KassenModell::statusSetzen, this, &Kasse::panelSetzen);
    connect(m_modell, &KassenModell::salatGeaendert, m_funktion[0], &KassenTaste::beschriftungSetzen);
    connect(m_modell, &KassenModell::tischnummerErfragen, this, &Kasse::eingabefeldZeigen);
    connect(m_modell, &KassenModell::tastenEditor, this, [this](int k) {
        if (k > 0)
            editorOeffnen(k);
        else
            editorZeigen(false);
    });
    connect(m_modell, &KassenModell::piep, this, &Piep);
    m_protokoll->zeigen(m_modell->protokoll());
}

void Kasse::anzeigeSetzen(KassenModell::Anzeigefeld feld, const QString &text)
{
    switch (feld) {
    case KassenModell::Anzeigefeld::Text: m_label1[0]->setText(text); break;
    case KassenModell::Anzeigefeld::Betrag: m_label1[1]->setText(text); break;
    case KassenModell::Anzeigefeld::Menge: m_label2->setText(text); break;
    case KassenModell::Anzeigefeld::Waehrung: m_euro->setText(text); break;
    }
}

void Kasse::knopfFreigeben(KassenModell::Knopf knopf, bool aktiv)
{
    switch (knopf) {
    case KassenModell::Knopf::Istgleich: m_istgleich->setEnabled(aktiv); break;
    case KassenModell::Knopf::Storno: m_storno->setEnabled(aktiv); break;
    case KassenModell::Knopf::Gegeben: m_gegebenTaste->setEnabled(aktiv); break;
    }
}

void Kasse::meldungZeigen(const QString &text, const QString &titel)
{
    Meldung(m_meldungsEltern ? m_meldungsEltern.data() : this, text, titel);
}

void Kasse::panelSetzen(int panel, const QString &text)
{
    m_panel[panel]->setText(text);
    if (panel == KassenModell::kServerPanel && m_panel[panel]->isHidden() == !text.isEmpty()) {
        m_panel[panel]->setHidden(text.isEmpty());
        statusleisteSkalieren();
    }
}

QString Kasse::protokollText() const
{
    return m_modell->protokoll().text();
}

} // namespace zanti
