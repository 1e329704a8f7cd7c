#pragma once
// The treasurer's statement: the figures of a period, from one register's
// journal or from the event server, as plain data. The sources
// (abrechnung_quelle.h) group in SQL and hand over small grouped rows;
// Zusammenfassen() turns them into the statement that the CSV and PDF
// writers show as they are.
//
// Local time everywhere is the register's wall clock at the instant: the
// stored UTC instant plus the offset stored with it. An hour is a local
// hour with its offset, so on the night the clocks go back 02:00-03:00
// appears twice (UTC+2, then UTC+1) and both stay apart.
#include "core/geld.h"
#include "persistence/journal.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace zanti {

// From von (inclusive) to bis (exclusive), local wall-clock times. Both are
// kept as Qt::UTC times only so that no time zone of this machine
// can shift them.
struct Zeitraum
{
    QDateTime von;
    QDateTime bis;
    // Whole local days from erster to letzter, both included.
    static Zeitraum Tage(QDate erster, QDate letzter);
    qint64 vonMs() const { return von.toMSecsSinceEpoch(); }
    qint64 bisMs() const { return bis.toMSecsSinceEpoch(); }
};

// A local hour as the register's clock showed it.
struct Stunde
{
    QDate datum;
    int stunde = 0;  // 0..23
    int offsetS = 0; // the offset from UTC then
    // The UTC instant it began: the order of hours, right across the change.
    qint64 beginnUtcMs() const;
    bool operator==(const Stunde &) const = default;
};

struct StundenZahlen
{
    Stunde stunde;
    qint64 belege = 0;
    Cent umsatz = 0;
};

struct ArtikelZahlen
{
    QString artikel;
    qint64 menge = 0;
    Cent umsatz = 0;
    int anteilPromille = 0; // of the total takings, rounded
};

struct KassenZahlen
{
    QString kasseId;
    QString name;
    qint64 belege = 0;
    Cent umsatz = 0;
    qint64 stornos = 0;
    Cent stornoCent = 0;
    // Event only: whether the server holds all the register has closed.
    std::optional<bool> allesGesendet;
};

struct StornoZahlen
{
    QString kasse; // the register's name
    Stunde stunde;
    qint64 anzahl = 0;
    Cent betrag = 0;
};

struct BelegMarke
{
    QString kasse; // the register's name
    qint64 nummer = 0;
    Zeitpunkt zeit;
};

struct Abrechnung
{
    QString quelle;   // "Kasse theke" or "Veranstaltung Sommerfest 2026"
    QString kurzname; // for file names: the register's or event's name
    bool veranstaltung = false;
    Zeitraum zeitraum;

    qint64 belege = 0;
    Cent umsatz = 0;
    Cent durchschnitt = 0; // per receipt, rounded to the cent
    std::optional<BelegMarke> erster;
    std::optional<BelegMarke> letzter;
    qint64 stornos = 0;
    Cent stornoCent = 0;

    QList<ArtikelZahlen> artikel;  // by takings, largest first
    QList<StundenZahlen> stunden;  // in the order they happened
    QList<KassenZahlen> kassen;    // by name
    QList<StornoZahlen> stornoStunden; // by register, then hour

    // Takings expected in the drawer: every receipt is paid in cash.
    Cent sollBestand() const { return umsatz; }
    // Registers of the event that have not sent everything yet.
    QStringList unvollstaendig() const;
    // Whether the same local hour appears with two offsets (the night the
    // clocks go back): its labels then carry the offset.
    bool doppelteStunde(const Stunde &stunde) const;
};

// What a source reads, grouped by SQL: per register and local hour.
struct Rohdaten
{
    struct Gruppe
    {
        QString kasseId;
        qint64 lokaleStunde = 0; // local ms / 3,600,000
        int offsetS = 0;
        qint64 anzahl = 0;
        Cent betrag = 0;
    };
    struct Kasse
    {
        QString id;
        QString name;
        std::optional<bool> allesGesendet;
    };
    struct Marke
    {
        QString kasseId;
        qint64 nummer = 0;
        Zeitpunkt zeit;
    };
    QList<Gruppe> belege;
    QList<Gruppe> stornos;
    QList<ArtikelZahlen> artikel; // menge and umsatz
    QList<Kasse> kassen;          // known names; registers without one get one
    std::optional<Marke> erster;
    std::optional<Marke> letzter;
};

Abrechnung Zusammenfassen(const Rohdaten &roh, const Zeitraum &zeitraum, const QString &quelle,
                          const QString &kurzname, bool veranstaltung);

} // namespace zanti
