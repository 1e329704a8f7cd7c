// The register's files: opening the receipt database and reading the
// protocol at start-up, and saving. Each file is saved on its own: one that
// cannot be written is reported once and saved again next time, and never
// keeps the others from being written.
#include "model/kassen_modell.h"

#include "veranstaltung/weiterleitung.h"

#include "core/nebenher.h"
#include "model/protokoll.h"
#include "persistence/bon_tabelle.h"
#include "persistence/datei.h"
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"

#include <QFileInfo>

namespace zanti {

namespace {

// What start-up reads of kasse.ini and bonkopf.ini; what the key editor's
// layout files and the dialog for the head lines read.
constexpr int kStartPuffer = 40;
constexpr int kDialogPuffer = 30;
// From this size on protokoll.txt is read on another core at start-up.
constexpr qint64 kVorabLesenAb = 512 * 1024;

Protokolldatei ProtokollLesen(const QString &pfad)
{
    return Protokolldatei::Einlesen(DateiLesen(pfad).value_or(QByteArray()));
}

} // namespace

KassenModell::~KassenModell() = default;

QString KassenModell::datei(const QString &name) const
{
    return ProgrammDatei(m_ordner, name);
}

bool KassenModell::DatenbankOeffnen()
{
    m_zustand.DBPfad = datei(u"daten.db"_qs);
    const bool offen = m_bon->oeffnen(m_zustand.DBPfad);
    if (offen)
        abschluesseNachholen();
    kennungSichern();
    return offen;
}

void KassenModell::DatenbankEinrichten(bool offen)
{
    if (!offen) {
        // Without the file the register still sells; the open receipt is
        // then kept in memory only.
        emit meldung(u"Die Datenbank daten.db kann nicht geöffnet werden. "
                     "Der offene Bon wird nur im Speicher gehalten."_qs,
                     u"Fehler"_qs);
        m_bon->oeffnen(u":memory:"_qs);
    }
    // Rows left by an earlier run belong to no receipt any more. Rows that
    // cannot be dropped must not be counted either: the register then
    // starts with an empty receipt in memory.
    if (!m_bon->alleLoeschen()) {
        emit meldung(u"Der offene Bon des letzten Laufs konnte nicht aus daten.db gelöscht "
                     "werden. Der offene Bon wird nur im Speicher gehalten."_qs,
                     u"Fehler"_qs);
        m_bon->oeffnen(u":memory:"_qs);
    }
}

void KassenModell::protokollVorabLesen()
{
    // A small protocol is read in a moment where it is needed; a season's
    // (ten megabytes) takes milliseconds.
    const QString pfad = datei(u"protokoll.txt"_qs);
    if (QFileInfo(pfad).size() >= kVorabLesenAb)
        m_protokollVorab = std::make_unique<Vorab<Protokolldatei>>([pfad] { return ProtokollLesen(pfad); });
}

void KassenModell::ProtokollLaden()
{
    m_zustand.Zaehler = m_protokoll->laden(m_protokollVorab ? m_protokollVorab->holen()
                                                    : ProtokollLesen(datei(u"protokoll.txt"_qs)));
    m_protokollVorab.reset();
    m_zustand.ProtokollZeilen = m_zustand.Zaehler;
}

void KassenModell::TastenLaden()
{
    m_zustand.Tasten = TastenLayoutLesen(IniDatei::Laden(datei(u"kasse.ini"_qs)), kStartPuffer);
}

void KassenModell::TastenLadenAus(const QString &pfad)
{
    m_zustand.Tasten = TastenLayoutLesen(IniDatei::Laden(pfad), kDialogPuffer);
    emit tastenGeaendert();
}

void KassenModell::VerkaufszahlenLaden()
{
    m_zustand.Verkauft = VerkaufszahlenLesen(IniDatei::Laden(datei(u"verkauf.ini"_qs)));
    m_zustand.Gesamteinnahme = m_zustand.Verkauft[kEinnahmen];
}

void KassenModell::BonkopfLaden()
{
    m_zustand.Kopfzeile = KopfzeilenLesen(IniDatei::Laden(datei(u"bonkopf.ini"_qs)), kStartPuffer);
}

void KassenModell::EinstellungenLaden()
{
    m_zustand.Einstellung = EinstellungenLesen(IniDatei::Laden(datei(u"Einstellungen.ini"_qs)));
}

bool KassenModell::dateiGespeichert(const QString &pfad, bool erfolg)
{
    if (erfolg) {
        m_fehlerhafteDateien.remove(pfad);
    } else if (!m_fehlerhafteDateien.contains(pfad)) {
        m_fehlerhafteDateien.insert(pfad);
        if (m_beendet)
            return false; // the shutdown names every failed file in one message
        emit meldung(u"Die Datei %1 konnte nicht gespeichert werden. Die Daten bleiben erhalten "
                     "und werden beim nächsten Mal wieder gespeichert."_qs.arg(QFileInfo(pfad).fileName()),
                     u"Fehler"_qs);
    }
    return erfolg;
}

void KassenModell::TastenSpeichern()
{
    IniDatei datei = IniDatei::Laden(this->datei(u"kasse.ini"_qs));
    TastenLayoutSchreiben(datei, m_zustand.Tasten);
    dateiGespeichert(datei.pfad(), datei.speichern());
}

bool KassenModell::VerkaufSpeichern()
{
    IniDatei verkauf = IniDatei::Laden(datei(u"verkauf.ini"_qs));
    VerkaufszahlenSchreiben(verkauf, m_zustand.Verkauft);
    return dateienSchreiben(verkauf.inhalt());
}

bool KassenModell::dateienSchreiben(const QByteArray &verkauf)
{
    // The protocol's bytes are ready: nothing is encoded again here.
    const QString protokollPfad = datei(u"protokoll.txt"_qs);
    const bool protokoll =
        dateiGespeichert(protokollPfad, DateiSpeichern(protokollPfad, m_protokoll->bytes()));
    if (protokoll)
        m_protokoll->gespeichert();
    const QString verkaufPfad = datei(u"verkauf.ini"_qs);
    return dateiGespeichert(verkaufPfad, DateiSpeichern(verkaufPfad, verkauf)) && protokoll;
}

void KassenModell::EinstellungenSpeichern()
{
    // Setting 6 (and its copy 7) is the port in use.
    m_zustand.Einstellung.ComPort = QString::number(m_port.CommPort());
    IniDatei datei = IniDatei::Laden(this->datei(u"Einstellungen.ini"_qs));
    EinstellungenSchreiben(datei, m_zustand.Einstellung);
    dateiGespeichert(datei.pfad(), datei.speichern());
}

QStringList KassenModell::beenden()
{
    if (m_beendet)
        return {};
    m_beendet = true;
    // Bounded: a call to the server under way is cut off.
    m_weiterleitung.reset();
    m_fehlerhafteDateien.clear(); // every file that fails now is named
    VerkaufSpeichern();
    // The protocol just saved holds the voids of the receipt never closed.
    if (!m_offeneStornos.isEmpty() && m_bon->stornosEintragen(m_offeneStornos))
        m_offeneStornos.clear();
    EinstellungenSpeichern();
    if (m_port.PortOpen())
        m_port.ausgebenUndSchliessen();
    m_bon->schliessen();

    QStringList namen;
    for (const QString &pfad : std::as_const(m_fehlerhafteDateien))
        namen << QFileInfo(pfad).fileName();
    namen.sort();
    return namen;
}

Kopfzeilen KassenModell::BonkopfLesen()
{
    // The file is the truth: what an earlier OK saved is what is shown.
    const Kopfzeilen gelesen = KopfzeilenLesen(IniDatei::Laden(datei(u"bonkopf.ini"_qs)), kDialogPuffer);
    for (int i = 1; i <= 4; ++i)
        m_zustand.Kopfzeile[i] = gelesen[i];
    return m_zustand.Kopfzeile;
}

std::optional<QString> KassenModell::BonkopfUebernehmen(const Kopfzeilen &kopfzeile, const QString &logo)
{
    // Checked first, so that a typing error changes nothing at all.
    const std::optional<int> bonImageNr = GanzzahlLesen(logo.isEmpty() ? u"0"_qs : logo);
    if (!bonImageNr)
        return u"Bitte nur Zahlen eingeben."_qs;
    for (int i = 1; i <= 4; ++i)
        m_zustand.Kopfzeile[i] = kopfzeile[i].isEmpty() ? u" "_qs : kopfzeile[i];
    m_zustand.Einstellung.BonImageNr = *bonImageNr;
    IniDatei ini = IniDatei::Laden(datei(u"bonkopf.ini"_qs));
    KopfzeilenSchreiben(ini, m_zustand.Kopfzeile);
    // The lines stay in memory and go to the printer all the same.
    if (!ini.speichern())
        emit meldung(u"Die Datei bonkopf.ini konnte nicht gespeichert werden."_qs, u"Fehler"_qs);
    return std::nullopt;
}

bool KassenModell::TastenSpeichernUnter(const QString &pfad)
{
    IniDatei datei = IniDatei::Laden(pfad);
    TastenLayoutSchreiben(datei, m_zustand.Tasten);
    return datei.speichern();
}

} // namespace zanti
