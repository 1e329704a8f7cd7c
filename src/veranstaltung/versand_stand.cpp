#include "veranstaltung/versand_stand.h"

#include "persistence/datei.h"
#include "persistence/ini_datei.h"

#include <QCryptographicHash>

namespace zanti {

namespace {

const QString kAbschnitt = QStringLiteral("Versand");
constexpr int kPuffer = 256;

// Names and connection strings may hold any character; the INI file holds
// Windows-1252, so they are compared by a hash.
QString Schluessel(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

std::optional<qint64> Zahl(const IniDatei &ini, const QString &schluessel)
{
    bool ok = false;
    const qint64 wert = ini.lesen(kAbschnitt, schluessel, kPuffer).toLongLong(&ok);
    if (!ok || wert < 0)
        return std::nullopt;
    return wert;
}

} // namespace

std::optional<VersandStand> VersandStandLaden(const QString &pfad)
{
    const std::optional<QByteArray> bytes = DateiLesen(pfad);
    if (!bytes)
        return std::nullopt;
    const IniDatei ini = IniDatei::AusBytes(pfad, *bytes);
    VersandStand s;
    s.ziel = ini.lesen(kAbschnitt, QStringLiteral("Veranstaltung"), kPuffer);
    s.server = ini.lesen(kAbschnitt, QStringLiteral("Server"), kPuffer);
    const auto bb = Zahl(ini, QStringLiteral("BelegeBeginn")), b = Zahl(ini, QStringLiteral("Belege"));
    const auto sb = Zahl(ini, QStringLiteral("StornosBeginn")), st = Zahl(ini, QStringLiteral("Stornos"));
    // A file that lost a value is as good as none: everything goes again, once.
    if (s.ziel == kUnbekannt || !bb || !b || !sb || !st || *bb > *b || *sb > *st)
        return std::nullopt;
    s.belege = {*bb, *b, ini.lesen(kAbschnitt, QStringLiteral("BelegId"), kPuffer)};
    s.stornos = {*sb, *st, ini.lesen(kAbschnitt, QStringLiteral("StornoId"), kPuffer)};
    const auto nb = Zahl(ini, QStringLiteral("NachtraegeBeginn")), n = Zahl(ini, QStringLiteral("Nachtraege"));
    if (nb && n && *nb <= *n)
        s.nachtraege = {*nb, *n, ini.lesen(kAbschnitt, QStringLiteral("NachtragId"), kPuffer)};
    for (Versandmarke *m : {&s.belege, &s.stornos, &s.nachtraege})
        if (m->id == kUnbekannt)
            m->id.clear();
    return s;
}

bool VersandStandSpeichern(const QString &pfad, const VersandStand &s)
{
    IniDatei ini = IniDatei::AusBytes(pfad, {});
    ini.schreiben(kAbschnitt, QStringLiteral("Veranstaltung"), s.ziel);
    ini.schreiben(kAbschnitt, QStringLiteral("Server"), s.server);
    ini.schreiben(kAbschnitt, QStringLiteral("BelegeBeginn"), QString::number(s.belege.beginn));
    ini.schreiben(kAbschnitt, QStringLiteral("Belege"), QString::number(s.belege.bis));
    ini.schreiben(kAbschnitt, QStringLiteral("BelegId"), s.belege.id);
    ini.schreiben(kAbschnitt, QStringLiteral("StornosBeginn"), QString::number(s.stornos.beginn));
    ini.schreiben(kAbschnitt, QStringLiteral("Stornos"), QString::number(s.stornos.bis));
    ini.schreiben(kAbschnitt, QStringLiteral("StornoId"), s.stornos.id);
    ini.schreiben(kAbschnitt, QStringLiteral("NachtraegeBeginn"), QString::number(s.nachtraege.beginn));
    ini.schreiben(kAbschnitt, QStringLiteral("Nachtraege"), QString::number(s.nachtraege.bis));
    ini.schreiben(kAbschnitt, QStringLiteral("NachtragId"), s.nachtraege.id);
    return ini.speichern();
}

VersandStand VersandStandFuer(const std::optional<VersandStand> &alt, const QString &veranstaltung,
                              const QString &server, const JournalEnde &ende)
{
    VersandStand neu{Schluessel(veranstaltung), Schluessel(server), {}, {}, {}};
    if (!alt)
        return neu;
    if (alt->ziel != neu.ziel) {
        neu.belege = {ende.belege, ende.belege, {}};
        neu.stornos = {ende.stornos, ende.stornos, {}};
        neu.nachtraege = {ende.nachtraege, ende.nachtraege, {}};
        return neu;
    }
    if (alt->server == neu.server)
        return *alt;
    neu.belege = {alt->belege.beginn, alt->belege.beginn, {}};
    neu.stornos = {alt->stornos.beginn, alt->stornos.beginn, {}};
    neu.nachtraege = {alt->nachtraege.beginn, alt->nachtraege.beginn, {}};
    return neu;
}

} // namespace zanti
