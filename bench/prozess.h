// Programs of the benchmark in processes of their own: started with
// posix_spawn (no copy of this big process), their "name value" lines read
// from stdout.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace zanti::bench {

struct Kindbericht
{
    qint64 startNs = 0;            // CLOCK_MONOTONIC just before the exec
    QHash<QString, qint64> werte;  // what the program reported
    bool beendet = false;          // it exited by itself within the time
};

// Runs programm with the extra environment (NAME=value), its stderr into
// the file stderrDatei, until it exits; after fristMs it is killed.
// nebenher runs every few milliseconds while it waits.
Kindbericht KindAusfuehren(const QString &programm, const QStringList &umgebung,
                           const QString &stderrDatei, int fristMs,
                           const std::function<void()> &nebenher = {});

// The executable at ziel, hard-linked (or copied) from quelle, so that a
// program that finds its folder from its own path runs in ziel's folder.
bool ProgrammAblegen(const QString &quelle, const QString &ziel);

} // namespace zanti::bench
