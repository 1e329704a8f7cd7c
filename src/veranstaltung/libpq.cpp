#include "veranstaltung/libpq.h"

#include <QLibrary>
#include <QMutex>

namespace zanti::libpq {

namespace {

struct Funktionen
{
    decltype(&PQconninfoParse) conninfoParse = nullptr;
    decltype(&PQconninfoFree) conninfoFree = nullptr;
    decltype(&PQfreemem) freemem = nullptr;
    decltype(&PQsocket) socket = nullptr;
};

// Loaded once, from whichever thread asks first; the library stays.
const Funktionen &Geladen()
{
    static const Funktionen f = [] {
        Funktionen geladen;
        QLibrary bibliothek(QStringLiteral("pq"), 5);
        if (!bibliothek.load())
            return geladen;
        geladen.conninfoParse = reinterpret_cast<decltype(&PQconninfoParse)>(bibliothek.resolve("PQconninfoParse"));
        geladen.conninfoFree = reinterpret_cast<decltype(&PQconninfoFree)>(bibliothek.resolve("PQconninfoFree"));
        geladen.freemem = reinterpret_cast<decltype(&PQfreemem)>(bibliothek.resolve("PQfreemem"));
        geladen.socket = reinterpret_cast<decltype(&PQsocket)>(bibliothek.resolve("PQsocket"));
        if (!geladen.conninfoParse || !geladen.conninfoFree || !geladen.freemem || !geladen.socket)
            return Funktionen{};
        return geladen;
    }();
    return f;
}

} // namespace

bool vorhanden()
{
    return Geladen().socket != nullptr;
}

PQconninfoOption *conninfoParse(const char *verbindung, char **fehler)
{
    if (fehler)
        *fehler = nullptr;
    return vorhanden() ? Geladen().conninfoParse(verbindung, fehler) : nullptr;
}

void conninfoFree(PQconninfoOption *optionen)
{
    if (vorhanden() && optionen)
        Geladen().conninfoFree(optionen);
}

void freemem(void *speicher)
{
    if (vorhanden() && speicher)
        Geladen().freemem(speicher);
}

int socket(const PGconn *verbindung)
{
    return vorhanden() && verbindung ? Geladen().socket(verbindung) : -1;
}

} // namespace zanti::libpq
