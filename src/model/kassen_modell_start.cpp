// The start of the register. Its steps are announced with the register's
// own progress texts, in the order they always came; a few of the texts name
// what the window does around the model (its function keys, its buttons),
// and they stand where they always stood.
//
// What needs no window is done in the first part: while the window waits
// for the second core to list the fonts, the model reads its files and
// opens the printer. The second part tells what was found, with the texts
// and messages in their places.
#include "model/kassen_modell.h"

#include "core/geld.h"

#include <utility>

namespace zanti {

void KassenModell::startBeginnen()
{
    emit startSchritt(u"Start"_qs);
    emit startSchritt(u"Dateipfade ok"_qs);
    // Before any file is read: a close that a power cut interrupted is
    // finished, so the files agree with the database.
    m_datenbankOffen = DatenbankOeffnen();
    protokollVorabLesen();
    TastenLaden();
    VerkaufszahlenLaden();
    BonkopfLaden();
    EinstellungenLaden();
    DruckerOeffnen();
    emit startSchritt(u"Variablen OK"_qs);
}

void KassenModell::startBeenden()
{
    emit startSchritt(u"F Button aus"_qs);

    ProtokollLaden();
    emit startSchritt(u"Protokolldatei gelesen"_qs);
    emit startSchritt(u"Tasten gelesen"_qs);
    emit startSchritt(u"Verkaufszahlen gelesen"_qs);
    emit startSchritt(u"Bonkopf gelesen"_qs);
    emit startSchritt(u"Einstellungen gelesen"_qs);

    emit statusSetzen(3, BetragFormat(m_zustand.Gesamteinnahme));
    emit statusSetzen(4, kTastenhilfe);
    SchalterAnzeigen();
    emit startSchritt(u"Statusbar beschrieben"_qs);
    emit tastenGeaendert();
    emit startSchritt(u"Buttons beschrieben"_qs);
    emit startSchritt(u"Einstellungen übergeben"_qs);
    emit startSchritt(u"Schnittstelle geprüft"_qs);
    emit startSchritt(u"Drucker eingestellt"_qs);
    emit startSchritt(u"Datenbank definiert"_qs);

    DatenbankEinrichten(m_datenbankOffen);
    emit startSchritt(u"Datenbank eingestellt"_qs);
    DruckerStarten();
    emit startSchritt(u"Schnittstelle geprüft"_qs);
    comZeigen(m_zustand.Einstellung.ComPort);
    if (m_kennungMeldung)
        emit meldung(*std::exchange(m_kennungMeldung, std::nullopt), {});
    if (m_wartend > 0) {
        emit meldung(u"%1 vom letzten Mal warten auf den Drucker. Sie werden gedruckt, sobald der Drucker "
                     "bereit ist."_qs.arg(m_wartend == 1 ? u"Ein Bon"_qs : u"%1 Bons"_qs.arg(m_wartend)),
                     {});
        panel8Zeigen();
    }
    // Last: the forwarder needs the register's identity and the journal.
    weiterleitungStarten();
}

} // namespace zanti
