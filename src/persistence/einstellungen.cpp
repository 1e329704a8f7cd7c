#include "persistence/einstellungen.h"

#include "core/geld.h"

namespace zanti {

namespace {

constexpr int kEinstellungen = 9;
constexpr int kKopfzeilen = 4;
constexpr int kEinstellungPuffer = 30;

QString Einstellungsschluessel(int i)
{
    return QStringLiteral("Einstellung") + QString::number(i);
}

QString Titelschluessel(int i)
{
    return QStringLiteral("Titel") + QString::number(i);
}


bool Schalter(const QString &text)
{
    return GanzzahlLesen(text) == 1;
}

} // namespace

Einstellungen EinstellungenLesen(const IniDatei &ini)
{
    std::array<QString, kEinstellungen + 1> text;
    for (int i = 1; i <= kEinstellungen; ++i)
        text[i] = ini.lesen(QStringLiteral("status"), Einstellungsschluessel(i), kEinstellungPuffer);
    Einstellungen e;
    // Setting 1 is not read: the printer is on when its port opens.
    e.Einzelbon = Schalter(text[2]);
    e.TischnummerAnzeige = Schalter(text[3]);
    e.Passwort = text[4];
    e.BonImageNr = GanzzahlLesen(text[5]).value_or(0);
    e.ComPort = text[6];
    e.Salat = text[8];
    e.Einstellung9 = text[9];
    return e;
}

void EinstellungenSchreiben(IniDatei &ini, const Einstellungen &e)
{
    const auto zahl = [](bool ein) { return ein ? QStringLiteral("1") : QStringLiteral("0"); };
    const std::array<QString, kEinstellungen + 1> text = {
        QString(),          zahl(e.DruckerEin), zahl(e.Einzelbon),
        zahl(e.TischnummerAnzeige), e.Passwort, QString::number(e.BonImageNr),
        e.ComPort,          e.ComPort,          e.Salat,
        e.Einstellung9};
    for (int i = 1; i <= kEinstellungen; ++i)
        ini.schreiben(QStringLiteral("Status"), Einstellungsschluessel(i), text[i]);
}

Kopfzeilen KopfzeilenLesen(const IniDatei &ini, int puffer)
{
    Kopfzeilen kopfzeile;
    for (int i = 1; i <= kKopfzeilen; ++i)
        kopfzeile[i] = ini.lesen(QStringLiteral("kopf"), Titelschluessel(i), puffer);
    return kopfzeile;
}

void KopfzeilenSchreiben(IniDatei &ini, const Kopfzeilen &kopfzeile)
{
    for (int i = 1; i <= kKopfzeilen; ++i) {
        const QString &zeile = kopfzeile[i];
        ini.schreiben(QStringLiteral("kopf"), Titelschluessel(i),
                      zeile.isEmpty() ? QStringLiteral(" ") : zeile);
    }
}

} // namespace zanti
