// The program folder of a register that has run for a while: a full key
// layout, sales counts, receipt header, settings and a long protocol. Built
// once, written into every fresh folder of a measurement.
#pragma once

#include "support/testumgebung.h"

#include <QByteArray>

namespace zanti::bench {

struct Vorlage
{
    // journalBelege: receipts already in daten.db's journal (a season).
    explicit Vorlage(int protokollZeilen, int journalBelege = 0);

    // Settings with the printer on COM 1; whether a printer answers there is
    // up to schnittstellen.ini.
    static QByteArray Einstellungsdatei(bool drucker);
    void anlegen(const test::Programmordner &ordner, bool drucker) const;

    QByteArray kasse, verkauf, bonkopf, protokoll;
    QByteArray datenbank; // daten.db with the journal; empty: none yet
};

} // namespace zanti::bench
