#include "veranstaltung/veranstaltung_datei.h"

#include "persistence/datei.h"
#include "persistence/ini_datei.h"
#include "veranstaltung/libpq.h"

#include <QFile>


namespace zanti {

namespace {

const QString kAbschnitt = QStringLiteral("Veranstaltung");
constexpr int kPuffer = 1024;

// libpq's own parser decides what a connection string is; a password in it
// is refused, it would sit in a plain file on every register.
QString ServerPruefen(const QString &server)
{
    if (!libpq::vorhanden())
        return QStringLiteral("Die PostgreSQL-Bibliothek (libpq) fehlt; die Kasse verkauft allein.");
    char *fehler = nullptr;
    PQconninfoOption *optionen = libpq::conninfoParse(server.toUtf8().constData(), &fehler);
    if (!optionen) {
        const QString grund = fehler ? QString::fromUtf8(fehler).trimmed() : QString();
        libpq::freemem(fehler);
        return QStringLiteral("Die Serverangabe in „%1“ ist keine gültige Verbindungsangabe (%2).")
            .arg(kVeranstaltungsDatei, grund);
    }
    bool passwort = false;
    for (PQconninfoOption *o = optionen; o->keyword; ++o)
        passwort = passwort || (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val);
    libpq::conninfoFree(optionen);
    if (passwort)
        return QStringLiteral("In „%1“ steht ein Passwort. Passwörter gehören in die Datei ~/.pgpass "
                              "oder die Dienstdatei, nicht in die Einstellungen der Kasse.")
            .arg(kVeranstaltungsDatei);
    return {};
}

} // namespace

QString VeranstaltungsDatei::meldung() const
{
    if (fehler.isEmpty())
        return {};
    return fehler.join(u'\n') + QStringLiteral("\nDie Kasse verkauft allein weiter, ohne Server.");
}

VeranstaltungsDatei VeranstaltungLaden(const QString &ordner, const QString &kassenName)
{
    VeranstaltungsDatei ergebnis;
    const QString pfad = ProgrammDatei(ordner, kVeranstaltungsDatei);
    if (!QFile::exists(pfad))
        return ergebnis;
    ergebnis.vorhanden = true;
    const std::optional<QByteArray> bytes = DateiLesen(pfad);
    if (!bytes) {
        ergebnis.fehler << QStringLiteral("„%1“ kann nicht gelesen werden.").arg(kVeranstaltungsDatei);
        return ergebnis;
    }
    const IniDatei ini = IniDatei::AusBytes(pfad, *bytes);
    const auto wert = [&](const char *schluessel) {
        const QString w = ini.lesen(kAbschnitt, QString::fromLatin1(schluessel), kPuffer);
        return w == kUnbekannt ? QString() : w.trimmed();
    };
    Veranstaltung v{wert("Name"), wert("Kasse"), wert("Server")};
    if (v.name.isEmpty() && v.kasse.isEmpty() && v.server.isEmpty()) {
        ergebnis.fehler << QStringLiteral("In „%1“ fehlt der Abschnitt [Veranstaltung] mit Name= und Server=.")
                               .arg(kVeranstaltungsDatei);
        return ergebnis;
    }
    if (v.kasse.isEmpty())
        v.kasse = kassenName.left(kKassenNameLaenge);

    if (v.name.isEmpty())
        ergebnis.fehler << QStringLiteral("In „%1“ fehlt der Name der Veranstaltung (Name=).").arg(kVeranstaltungsDatei);
    else if (v.name.size() > kVeranstaltungsNameLaenge)
        ergebnis.fehler << QStringLiteral("Der Name der Veranstaltung in „%1“ ist zu lang (höchstens %2 Zeichen).")
                               .arg(kVeranstaltungsDatei)
                               .arg(kVeranstaltungsNameLaenge);
    if (v.kasse.size() > kKassenNameLaenge)
        ergebnis.fehler << QStringLiteral("Der Kassenname in „%1“ ist zu lang (höchstens %2 Zeichen).")
                               .arg(kVeranstaltungsDatei)
                               .arg(kKassenNameLaenge);
    if (v.server.isEmpty()) {
        ergebnis.fehler << QStringLiteral("In „%1“ fehlt der Server (Server=).").arg(kVeranstaltungsDatei);
    } else {
        const QString fehler = ServerPruefen(v.server);
        if (!fehler.isEmpty())
            ergebnis.fehler << fehler;
    }
    if (ergebnis.fehler.isEmpty())
        ergebnis.veranstaltung = v;
    return ergebnis;
}

} // namespace zanti
