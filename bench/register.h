#pragma once
// A started register whose article keys are pressed in turn, so the display
// changes with every press. Its folder is laid out from a template; a
// printer device goes into schnittstellen.ini, an event file beside it.
#include "messen.h"
#include "vorlage.h"

#include "support/kassen_fixture.h"

namespace zanti::bench {

struct Register
{
    test::KassenFixture f;
    int taste = 0;

    Register(const Vorlage &vorlage, bool drucker, const QString &druckerGeraet = {},
             const QByteArray &veranstaltung = {});
    Messwert artikel();
    Messwert istgleich();
    // Read off the grid, as the operator sees the open receipt.
    void bonzeilenPruefen(int erwartet, const char *wo);
};

} // namespace zanti::bench
