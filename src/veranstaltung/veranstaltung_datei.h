#pragma once
// The event file veranstaltung.ini in the program folder. Without it the
// register is alone: no server, no thread, no network.
//
//   [Veranstaltung]
//   Name=Sommerfest 2027
//   Kasse=Getränke
//   Server=host=192.168.1.10 dbname=zanti user=kasse
//
// Server is a libpq connection string or service=NAME; passwords belong in
// ~/.pgpass or the service file, never here.
#include <QString>
#include <QStringList>
#include <optional>

namespace zanti {

inline const QString kVeranstaltungsDatei = QStringLiteral("veranstaltung.ini");

struct Veranstaltung
{
    QString name;
    QString kasse;  // the register's label on the server
    QString server; // libpq connection string
};

struct VeranstaltungsDatei
{
    bool vorhanden = false;
    // Set only when the file is there and every value is good.
    std::optional<Veranstaltung> veranstaltung;
    // One sentence per kind of bad value.
    QStringList fehler;
    // The one message for the start: the faults and that the register sells alone.
    QString meldung() const;
};

// kassenName is the journal's name of this register, used when Kasse is
// missing or empty.
VeranstaltungsDatei VeranstaltungLaden(const QString &ordner, const QString &kassenName);

// Longest names that still fit a 40-column report line.
constexpr int kVeranstaltungsNameLaenge = 40;
constexpr int kKassenNameLaenge = 20;

} // namespace zanti
