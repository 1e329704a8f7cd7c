#pragma once
// The command line of zanti_abrechnung, read by a pure function so that
// every rule of it is tested without starting a process.
#include "abrechnung/abrechnung.h"

#include <QStringList>
#include <optional>

namespace zanti {

struct Aufruf
{
    bool hilfe = false;
    QString ordner;        // a register's program folder, or
    QString server;        // a libpq connection string,
    QString veranstaltung; // with the event's name
    Zeitraum zeitraum;
    QString pdf;           // a file, a folder (default name in it) or empty
    QString csv;
    bool pdfGewuenscht = true;
    bool csvGewuenscht = true;
    bool ueberschreiben = false;
};

// Exit codes of the program.
enum AufrufEnde { kEndeOk = 0, kEndeAufruf = 2, kEndeQuelle = 3, kEndeDatei = 4 };

// argumente without the program's name; heute fills in a missing date.
// Nothing and a German message when they make no sense.
std::optional<Aufruf> AufrufLesen(const QStringList &argumente, QDate heute, QString &fehler);

// A date, "dd.MM.yyyy" or "yyyy-MM-dd", optionally with " HH:mm" (or
// "THH:mm", seconds allowed); mitZeit tells whether a time was given.
std::optional<QDateTime> ZeitpunktLesen(const QString &text, bool &mitZeit);

QString AufrufHilfe();

} // namespace zanti
