// Writing the register's files. Each file is saved on its own: one that
// cannot be written is reported once and saved again next time, and never
// keeps the others from being written.
#include "persistence/datei.h"
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"
#include "register/kasse.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"

#include <QFileInfo>

namespace zanti {

QString Kasse::protokollText() const
{
    return m_protokoll->text();
}

bool Kasse::dateiGespeichert(const QString &pfad, bool erfolg)
{
    if (erfolg) {
        m_fehlerhafteDateien.remove(pfad);
    } else if (!m_fehlerhafteDateien.contains(pfad)) {
        m_fehlerhafteDateien.insert(pfad);
        if (m_beendet)
            return false; // the shutdown names every failed file in one message
        Meldung(this,
                u"Die Datei %1 konnte nicht gespeichert werden. Die Daten bleiben erhalten "
                "und werden beim nächsten Mal wieder gespeichert."_qs.arg(QFileInfo(pfad).fileName()),
                u"Fehler"_qs);
    }
    return erfolg;
}

void Kasse::TastenSpeichern()
{
    IniDatei datei = IniDatei::Laden(ProgrammDatei(m_ordner, u"kasse.ini"_qs));
    TastenLayoutSchreiben(datei, z.Tasten);
    dateiGespeichert(datei.pfad(), datei.speichern());
}

bool Kasse::VerkaufSpeichern()
{
    const QString text = m_protokoll->text();
    const QString protokollPfad = ProgrammDatei(m_ordner, u"protokoll.txt"_qs);
    const bool protokoll = dateiGespeichert(
        protokollPfad, DateiSpeichern(protokollPfad, ProtokollDateiInhalt(text)));
    if (protokoll) {
        m_protokollGespeichert = text.size();
        m_protokollErsetzt = false;
    }
    IniDatei verkauf = IniDatei::Laden(ProgrammDatei(m_ordner, u"verkauf.ini"_qs));
    VerkaufszahlenSchreiben(verkauf, z.Verkauft);
    return dateiGespeichert(verkauf.pfad(), verkauf.speichern()) && protokoll;
}

void Kasse::EinstellungenLaden()
{
    z.Einstellung =
        EinstellungenLesen(IniDatei::Laden(ProgrammDatei(m_ordner, u"Einstellungen.ini"_qs)));
}

void Kasse::EinstellungenSpeichern()
{
    z.Einstellung[1] = QString::number(z.DruckerEin);
    z.Einstellung[2] = QString::number(z.Einzelbon);
    z.Einstellung[3] = QString::number(z.TischnummerAnzeige);
    z.Einstellung[5] = QString::number(z.BonImageNr);
    z.Einstellung[6] = QString::number(m_port->CommPort());
    z.Einstellung[7] = z.Einstellung[6];
    IniDatei datei = IniDatei::Laden(ProgrammDatei(m_ordner, u"Einstellungen.ini"_qs));
    EinstellungenSchreiben(datei, z.Einstellung);
    dateiGespeichert(datei.pfad(), datei.speichern());
}

} // namespace zanti
