// Booking an article key, the quantity, and the switches.
#include "model/kassen_modell.h"

#include "printing/drucker_port.h"

#include "core/bon_zeile.h"
#include "core/nebenher.h"
#include "core/text_helfer.h"
#include "model/protokoll.h"
#include "persistence/bon_tabelle.h"
#include "persistence/verkauf.h"
#include "printing/bon_layout.h"
#include "veranstaltung/weiterleitung.h"

#include <QScopeGuard>
#include <QTime>

namespace zanti {

namespace {

Cent Menge(const QString &anzahl)
{
    return BetragLesen(anzahl).value_or(0);
}

// The system colour of button faces, 8000000F hex as a signed 32-bit number.
const QString kTastenflaeche = QStringLiteral("-2147483633");

} // namespace

const QString KassenModell::kTastenhilfe = QStringLiteral("F1 - Tastenhilfe");

KassenModell::KassenModell(const QString &programmordner, DruckerPort &port, QObject *eltern)
    : KassenModell(programmordner, &port, eltern)
{
}

KassenModell::KassenModell(const QString &programmordner, QObject *eltern)
    : KassenModell(programmordner, nullptr, eltern)
{
}

KassenModell::KassenModell(const QString &programmordner, DruckerPort *port, QObject *eltern)
    : QObject(eltern)
    , m_ordner(programmordner)
    , m_eigenerPort(port ? nullptr : new DruckerPort(this))
    , m_port(port ? *port : *m_eigenerPort)
    , m_drucker(std::make_unique<DruckerDienst>(programmordner, m_port))
    , m_bon(new BonTabelle(this))
    , m_protokoll(new Protokoll(this))
{
    m_zustand.Anzahl_Eingabe = u"0"_qs;
    connect(&m_port, &DruckerPort::ausgabeFehler, this, &KassenModell::DruckerFehler);
    connect(&m_port, &DruckerPort::alleGeschrieben, this, &KassenModell::alleGeschrieben);
    connect(m_bon, &BonTabelle::aktuelleZeileGeaendert, this, &KassenModell::zeileGewaehlt);
}

QAbstractTableModel &KassenModell::bonRaster()
{
    return *m_bon;
}

int KassenModell::gewaehlteZeile() const
{
    return m_bon->aktuelleZeile();
}

void KassenModell::ZeileWaehlen(int zeile)
{
    if (zeile != m_bon->aktuelleZeile())
        m_bon->aktuelleZeileSetzen(zeile);
}

void KassenModell::fehler(const QString &text)
{
    emit piep();
    emit meldung(text, u"Fehler"_qs);
}

void KassenModell::einstellmodusSetzen(bool ein)
{
    if (m_zustand.Einstellmodus == ein)
        return;
    m_zustand.Einstellmodus = ein;
    emit statusSetzen(4, ein ? u"Einstellen"_qs : kTastenhilfe);
    emit einstellmodusGeaendert(ein);
    emit tastenGeaendert();
}

void KassenModell::ArtikelTaste(int k)
{
    m_zustand.Taste = k;
    ArtikelBuchen();
}

void KassenModell::ArtikelBuchen()
{
    const int k = m_zustand.Taste;
    // Whatever happens, the next key starts without a quantity.
    const auto mengeZuruecksetzen = qScopeGuard([this] { m_zustand.Anzahl_Eingabe = u"0"_qs; });

    if (m_zustand.Einstellmodus) {
        emit tastenEditor(k);
        return;
    }
    emit tastenEditor(0);

    if (m_zustand.Einstellung.TischnummerAnzeige && m_zustand.Tischnummer == 0) {
        emit tischnummerErfragen();
        emit anzeigeSetzen(Anzeigefeld::Text, u"TISCHNUMMER"_qs);
        emit anzeigeSetzen(Anzeigefeld::Betrag, {});
        emit anzeigeSetzen(Anzeigefeld::Waehrung, {});
        return;
    }
    if (Menge(m_zustand.Anzahl_Eingabe) == 0)
        m_zustand.Anzahl_Eingabe = u"1"_qs;

    const std::optional<Cent> betrag =
        ZeilenBetrag(m_zustand.Tasten.ArtikelPreis[k], m_zustand.Anzahl_Eingabe);
    if (!betrag) {
        fehler(u"Diese Taste hat keinen gültigen Preis."_qs);
        return;
    }

    BonZeile zeile;
    zeile.Anzahl = m_zustand.Anzahl_Eingabe;
    zeile.Artikel = m_zustand.Tasten.ArtikelText[k];
    zeile.Preis = BetragFormat(*betrag);
    zeile.Menge = Menge(m_zustand.Anzahl_Eingabe);
    zeile.Betrag = *betrag;
    zeile.Tastennr = k;
    zeile.BonId = m_zustand.Zaehler;
    if (!m_bon->hinzufuegen(zeile) && !(datenbankAusgefallen() && m_bon->hinzufuegen(zeile))) {
        fehler(u"Die Buchung konnte nicht gespeichert werden. Bitte noch einmal versuchen."_qs);
        return;
    }

    emit anzeigeSetzen(Anzeigefeld::Waehrung, u"€ "_qs);
    emit anzeigeSetzen(Anzeigefeld::Menge, m_zustand.Anzahl_Eingabe);
    emit anzeigeSetzen(Anzeigefeld::Text, m_zustand.Tasten.ArtikelText[k]);
    emit anzeigeSetzen(Anzeigefeld::Betrag, zeile.Preis);

    ProtokollEintragen(zeile);
    emit knopfFreigeben(Knopf::Istgleich, true);
    emit knopfFreigeben(Knopf::Storno, true);
    emit knopfFreigeben(Knopf::Gegeben, false);
}

void KassenModell::ProtokollEintragen(const BonZeile &zeile)
{
    m_protokoll->zeileVoranstellen(ProtokollVerkaufsZeile(
        m_zustand.Zaehler, QTime::currentTime(), zeile.Anzahl, zeile.Artikel, zeile.Betrag));
    ++m_zustand.Zaehler;
}

void KassenModell::MengenZiffer(int ziffer)
{
    // A second digit does not append: only "1" then "0" makes 10.
    if (Menge(m_zustand.Anzahl_Eingabe) < 100)
        m_zustand.Anzahl_Eingabe = QString::number(ziffer);
    emit anzeigeSetzen(Anzeigefeld::Text, {});
    emit anzeigeSetzen(Anzeigefeld::Menge, m_zustand.Anzahl_Eingabe);
}

void KassenModell::MengeNull()
{
    if (Menge(m_zustand.Anzahl_Eingabe) == 100)
        m_zustand.Anzahl_Eingabe += u'0';
    emit anzeigeSetzen(Anzeigefeld::Menge, m_zustand.Anzahl_Eingabe);
}

void KassenModell::MengeLoeschen()
{
    m_zustand.Anzahl_Eingabe = u"0"_qs;
    emit anzeigeSetzen(Anzeigefeld::Menge, {});
    emit anzeigeSetzen(Anzeigefeld::Text, {});
    emit anzeigeSetzen(Anzeigefeld::Betrag, {});
}

void KassenModell::BonTastenPruefen()
{
    if (m_bon->BOF()) {
        emit knopfFreigeben(Knopf::Istgleich, false);
        emit knopfFreigeben(Knopf::Storno, false);
    }
}

bool KassenModell::TasteAendern(int k, const QString &text, const QString &preis,
                                const QString &farbe)
{
    if (k < 1 || k > kArtikelTasten)
        return false;
    const QStringList fremd = NichtCp1252(text + preis + farbe);
    if (!fremd.isEmpty()) {
        emit meldung(u"Diese Zeichen kann die Kasse weder speichern noch drucken: %1\n"
                     "Die Taste bleibt, wie sie war."_qs.arg(fremd.join(u' ')),
                     u"Fehler"_qs);
        return false;
    }
    m_zustand.Tasten.ArtikelText[k] = text.isEmpty() ? u" "_qs : text;
    m_zustand.Tasten.ArtikelFarbe[k] = farbe.isEmpty() ? kTastenflaeche : farbe;
    if (!preis.isEmpty()) {
        // A price that reads as a number is stored as "##0.00"; any other
        // text stays as typed (the key then refuses to sell).
        const std::optional<Cent> betrag = BetragLesen(preis);
        m_zustand.Tasten.ArtikelPreis[k] = betrag ? BetragFormat(*betrag) : preis;
    } else {
        m_zustand.Tasten.ArtikelPreis[k] = u" "_qs;
    }
    TastenSpeichern();
    emit tastenGeaendert();
    return true;
}

void KassenModell::SalatUmschalten()
{
    // Setting 8 that is no number (a first start) counts as off, as it does
    // for the printing.
    m_zustand.Einstellung.Salat = SalatbonEin(m_zustand.Einstellung.Salat) ? u"0"_qs : u"1"_qs;
    emit salatGeaendert(SalatBeschriftung());
}

QString KassenModell::SalatBeschriftung() const
{
    return u"Taste25 Salat = "_qs + m_zustand.Einstellung.Salat;
}

void KassenModell::SchalterAnzeigen()
{
    const Einstellungen &e = m_zustand.Einstellung;
    emit statusSetzen(6, e.Einzelbon ? u"F3 - Einzelbon ein"_qs : u"F3 - Einzelbon aus"_qs);
    emit statusSetzen(7, e.TischnummerAnzeige ? u"F4 - Tischnr. ein"_qs : u"F4 - Tischnr. aus"_qs);
}

void KassenModell::EinzelbonUmschalten()
{
    if (!m_zustand.Einstellmodus)
        return;
    m_zustand.Einstellung.Einzelbon = !m_zustand.Einstellung.Einzelbon;
    SchalterAnzeigen();
}

void KassenModell::TischnummerUmschalten()
{
    if (!m_zustand.Einstellmodus)
        return;
    m_zustand.Einstellung.TischnummerAnzeige = !m_zustand.Einstellung.TischnummerAnzeige;
    SchalterAnzeigen();
}

void KassenModell::ProtokollLoeschen()
{
    if (!m_zustand.Einstellmodus)
        return;
    m_protokoll->leeren();
}

void KassenModell::VerkaufszahlenLoeschen()
{
    if (!m_zustand.Einstellmodus)
        return;
    for (int i = 1; i <= kEinnahmen; ++i)
        m_zustand.Verkauft[i] = 0;
    m_zustand.Gesamteinnahme = 0;
    emit statusSetzen(3, BetragFormat(m_zustand.Gesamteinnahme));
}

} // namespace zanti
