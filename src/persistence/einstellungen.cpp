#include "persistence/einstellungen.h"

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

} // namespace

Einstellungen EinstellungenLesen(const IniDatei &ini)
{
    Einstellungen einstellung;
    for (int i = 1; i <= kEinstellungen; ++i)
        einstellung[i] = ini.lesen(QStringLiteral("status"), Einstellungsschluessel(i),
                                   kEinstellungPuffer);
    return einstellung;
}

void EinstellungenSchreiben(IniDatei &ini, const Einstellungen &einstellung)
{
    for (int i = 1; i <= kEinstellungen; ++i)
        ini.schreiben(QStringLiteral("Status"), Einstellungsschluessel(i), einstellung[i]);
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
