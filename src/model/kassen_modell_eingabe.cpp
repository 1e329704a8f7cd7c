// What the keypad and the password window hand over: the amount given (the
// change), the table number, the password.
#include "model/kassen_modell.h"

#include "persistence/bon_tabelle.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace zanti {

namespace {

const QString kEingabeFehler = QStringLiteral("Ungültige Eingabe. Bitte versuchen Sie es noch einmal!");
const QString kTischFehler = QStringLiteral("Ungültige Tischnummer. Bitte versuchen Sie es noch einmal!");

} // namespace

void KassenModell::GegebenTaste()
{
    m_zustand.Gegeben = true;
}

bool KassenModell::EingabeUebernehmen(const QString &eingabe)
{
    // Only "OK" decides what the number is for.
    if (m_zustand.Gegeben || !m_zustand.Einstellung.TischnummerAnzeige)
        return rueckgeld(eingabe);
    return tischnummer(eingabe);
}

void KassenModell::EingabeAbgebrochen()
{
    // So that the next "OK" cannot count as an amount given.
    m_zustand.Gegeben = false;
}

bool KassenModell::Schnellbetraege() const
{
    // Follows the setting alone: with table numbers on, the amount given
    // goes without quick amounts too.
    return !m_zustand.Einstellung.TischnummerAnzeige;
}

bool KassenModell::rueckgeld(QString eingabe)
{
    if (eingabe.isEmpty())
        eingabe = ZahlAllgemein(m_zustand.G_Summe);
    std::optional<Cent> gegeben = BetragLesen(eingabe);
    if (!gegeben) {
        emit meldung(kEingabeFehler, u"Fehler"_qs);
        return false;
    }
    // Less than the total is taken as the exact total: no negative change.
    if (*gegeben <= m_zustand.G_Summe)
        gegeben = m_zustand.G_Summe;
    const Cent Rueckgeld = *gegeben - m_zustand.G_Summe;
    // The journal keeps what was given for the receipt just closed; a
    // failure here loses nothing of the sale.
    if (m_letzterBeleg > 0) {
        QSqlDatabase db = m_bon->datenbank();
        QSqlError fehler;
        if (GegebenSetzen(db, m_letzterBeleg, *gegeben, Rueckgeld, fehler))
            weiterleitungWecken();
    }

    emit anzeigeSetzen(Anzeigefeld::Text, u"ZURÜCK"_qs);
    emit anzeigeSetzen(Anzeigefeld::Betrag, BetragFormat(Rueckgeld));
    emit knopfFreigeben(Knopf::Gegeben, false);
    m_zustand.Gegeben = false;
    return true;
}

bool KassenModell::tischnummer(const QString &eingabe)
{
    if (eingabe.isEmpty() || eingabe == u"0," || eingabe == u"0") {
        emit meldung(kTischFehler, u"Fehler"_qs);
        return false;
    }
    // The keys give digits and commas only, so a second comma is the one way
    // to type what is no number at all.
    if (eingabe.count(u',') > 1) {
        emit meldung(kEingabeFehler, u"Fehler"_qs);
        return false;
    }
    const std::optional<int> tisch = GanzzahlLesen(eingabe);
    if (!tisch) { // more than 32767
        emit meldung(kTischFehler, u"Fehler"_qs);
        return false;
    }
    // 0,5 passes and becomes table 0, so the next article key asks again.
    emit anzeigeSetzen(Anzeigefeld::Betrag, eingabe);
    m_zustand.Tischnummer = *tisch;
    return true;
}

bool KassenModell::KennwortPruefen(const QString &eingabe)
{
    // Case matters; an empty password opens on an empty entry.
    if (eingabe != m_zustand.Einstellung.Passwort)
        return false;
    einstellmodusSetzen(true);
    return true;
}

} // namespace zanti
