#pragma once
// The few libpq functions the event server needs beyond Qt's driver, looked
// up in the library at their first use: a register without an event never
// loads libpq and the security libraries behind it, and starts as fast as
// it always did.
#include <libpq-fe.h>

namespace zanti::libpq {

// False when libpq cannot be loaded; every other call then does nothing.
bool vorhanden();

PQconninfoOption *conninfoParse(const char *verbindung, char **fehler);
void conninfoFree(PQconninfoOption *optionen);
void freemem(void *speicher);
// -1 without libpq.
int socket(const PGconn *verbindung);

} // namespace zanti::libpq
