// The program folder of a register that has run for a while: a full key
// layout, sales counts, receipt header, settings and a long protocol. Built
// once, written into every fresh folder of a measurement.
#pragma once

#include "support/testumgebung.h"

#include <QByteArray>

namespace zanti::bench {

struct Vorlage
{
    explicit Vorlage(int protokollZeilen);

    // Settings with the printer on COM 1; whether a printer answers there is
    // up to schnittstellen.ini.
    static QByteArray Einstellungsdatei(bool drucker);
    void anlegen(const test::Programmordner &ordner, bool drucker) const;

    QByteArray kasse, verkauf, bonkopf, protokoll;
};

} // namespace zanti::bench
