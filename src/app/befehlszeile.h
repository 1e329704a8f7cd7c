#pragma once
// The registers' command line. It is read before anything else starts, so
// that --help works without a screen, and it refuses what it does not know:
// a typo must not start a register on files nobody meant.
#include <QString>
#include <QStringList>

namespace zanti {

struct Befehlszeile
{
    enum class Aktion { Starten, Hilfe, Fehler };
    Aktion aktion = Aktion::Starten;
    QString ordner;        // --ordner DIR; empty when not given
    bool vollbild = false; // --vollbild: the stand PC's screen
    QString text;          // the help, or what was wrong

    // 0 after the help, 2 for a wrong command line (as usual for usage errors).
    int exitcode() const { return aktion == Aktion::Fehler ? 2 : 0; }
};

// argumente without the program's own name. programm names the program in
// the texts; standardordner is the folder an installed register uses when
// no --ordner is given.
Befehlszeile BefehlszeileLesen(const QStringList &argumente, const QString &programm,
                               const QString &standardordner);

} // namespace zanti
