// The row of function buttons, the gestures on the customer display and the
// keypad for the amount given and the table number.
#include "register/bonkopf.h"
#include "printing/bon_layout.h"
#include "printing/drucker_port.h"
#include "printing/escpos.h"
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
    verbinden(100, &Kasse::salatUmschalten);
    verbinden(101, &Kasse::einzelbonUmschalten);
    verbinden(102, &Kasse::tischnummerUmschalten);
    verbinden(103, &Kasse::protokollLoeschen);
    verbinden(104, &Kasse::verkaufszahlenLoeschen);
    verbinden(105, &Kasse::bonkopfZeigen);
    connect(m_funktion[6], &QPushButton::clicked, this, [this] {
        if (!OffenesNachVorn(this, u"Einstell"_qs))
            schnittstelleWaehlen();
    });
    connect(m_funktion[7], &QPushButton::clicked, this, [this] { DruckerUmschalten(); });
    verbinden(108, &Kasse::VerkaufsbelegAusgeben);
    verbinden(109, &Kasse::TastenbelegungAusgeben);
    connect(m_port, &DruckerPort::ausgabeFehler, this, &Kasse::druckerFehler);
    connect(m_protokoll, &ProtokollBox::geklickt, m_rahmen1, &QWidget::show);
    for (QWidget *w : {static_cast<QWidget *>(m_label1[0]), static_cast<QWidget *>(m_label1[1]),
                       static_cast<QWidget *>(m_label2), static_cast<QWidget *>(m_euro)})
        w->installEventFilter(this);
}

void Kasse::schalterAnzeigen()
{
    panelSetzen(6, z.Einzelbon == 1 ? u"F3 - Einzelbon ein"_qs : u"F3 - Einzelbon aus"_qs);
    panelSetzen(7, z.TischnummerAnzeige == 1 ? u"F4 - Tischnr. ein"_qs : u"F4 - Tischnr. aus"_qs);
}

void Kasse::salatUmschalten()
{
    // Setting 8 that is no number (a first start) counts as off, as it does
    // for the printing.
    z.Einstellung[8] = SalatbonEin(z.Einstellung[8]) ? u"0"_qs : u"1"_qs;
    m_funktion[0]->beschriftungSetzen(u"Taste25 Salat = "_qs + z.Einstellung[8]);
}

void Kasse::einzelbonUmschalten()
{
    if (z.Einstellmodus != 1)
        return;
    z.Einzelbon = z.Einzelbon == 1 ? 0 : 1;
    schalterAnzeigen();
}

void Kasse::tischnummerUmschalten()
{
    if (z.Einstellmodus != 1)
        return;
    z.TischnummerAnzeige = z.TischnummerAnzeige == 1 ? 0 : 1;
    schalterAnzeigen();
}

void Kasse::protokollLoeschen()
{
    if (z.Einstellmodus != 1)
        return;
    m_protokoll->textSetzen({});
    m_protokollErsetzt = true;
}

void Kasse::verkaufszahlenLoeschen()
{
    if (z.Einstellmodus != 1)
        return;
    for (int i = 1; i <= kEinnahmen; ++i)
        z.Verkauft[i] = 0;
    z.Gesamteinnahme = 0;
    panelSetzen(3, BetragFormat(z.Gesamteinnahme));
}

void Kasse::bonkopfZeigen()
{
    if (z.Einstellmodus != 1 || OffenesNachVorn(this, u"Bonkopf"_qs))
        return;
    (new Bonkopf(m_ordner, z.Kopfzeile, z.BonImageNr, this))->show();
}

void Kasse::anmeldungZeigen()
{
    if (!m_anmeldung)
        m_anmeldung = new Anmeldung(z, this);
    m_anmeldung->zeigen();
}

Eingabefeld &Kasse::eingabefeld()
{
    if (!m_eingabefeld)
        m_eingabefeld = new Eingabefeld(z, m_label1[0], m_label1[1], m_gegebenTaste, this);
    return *m_eingabefeld;
}

void Kasse::GegebenTaste_Click()
{
    eingabefeld().zeigen();
    z.Gegeben = 1;
}

void Kasse::tischnummerErfragen()
{
    eingabefeld().zeigen();
    m_label1[0]->setText(u"TISCHNUMMER"_qs);
    m_label1[1]->clear();
    m_euro->clear();
}

bool Kasse::anzeigeGeste(QObject *objekt, QEvent *ereignis)
{
    if (ereignis->type() == QEvent::MouseButtonPress && objekt == m_label1[1]) {
        // The amount line shows and hides the function buttons.
        if (m_funktion[0]->isVisible()) {
            FunktionstastenAus();
        } else {
            FunktionstastenEin();
            m_funktion[0]->beschriftungSetzen(u"Taste25 Salat = "_qs + z.Einstellung[8]);
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
        // Opens the cash drawer by hand.
        if (m_port->PortOpen())
            m_port->Output(escpos::Schubladenimpuls());
        return true;
    }
    return false;
}

} // namespace zanti
