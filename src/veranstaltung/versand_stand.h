#pragma once
// How far the journal has reached the event server: one high-water mark for
// receipts, one for voids and one for the later changes of receipts
// (sending is oldest first, so everything up to the mark is on the server).
// Kept in versand.ini of its own, so the forwarder never writes into
// daten.db and never holds up a close there.
//
// The marks belong to one event and one server. A register that served an
// earlier event starts the new one at the journal's end (its older receipts
// belong to the earlier event); the same event on another server starts
// again at the event's beginning. A mark is checked against the journal
// (the receipt's id at the mark): a replaced daten.db sends everything again,
// which the server takes once.
#include <QString>
#include <optional>

namespace zanti {

inline const QString kVersandDatei = QStringLiteral("versand.ini");

struct Versandmarke
{
    qint64 beginn = 0; // lfd before the event's first entry
    qint64 bis = 0;    // lfd of the last entry on the server
    QString id;        // its id, to check the mark against the journal
    bool operator==(const Versandmarke &) const = default;
};

struct VersandStand
{
    QString ziel;   // hash of the event's name
    QString server; // hash of the connection string
    Versandmarke belege;
    Versandmarke stornos;
    // A file from before the changes were sent has none: they start at the
    // journal's first, which only sends some again.
    Versandmarke nachtraege;
    bool operator==(const VersandStand &) const = default;
};

std::optional<VersandStand> VersandStandLaden(const QString &pfad);
bool VersandStandSpeichern(const QString &pfad, const VersandStand &stand);

// The journal's newest lfd values now.
struct JournalEnde
{
    qint64 belege = 0;
    qint64 stornos = 0;
    qint64 nachtraege = 0;
};

// The marks to go on with for this event and server.
VersandStand VersandStandFuer(const std::optional<VersandStand> &alt, const QString &veranstaltung,
                              const QString &server, const JournalEnde &ende);

} // namespace zanti
