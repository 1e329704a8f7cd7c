#pragma once
// Which folder a register keeps its files in. Started from a folder it may
// write (a build, a copied folder), it keeps them beside itself as it always
// did. Installed, its own folder belongs to the system, so it takes the
// folder named on the command line, else one of the user's own.
#include <QString>

namespace zanti {

struct OrdnerLage
{
    QString befehlszeile;       // --ordner, empty when not given
    QString programmordner;     // the folder of the executable
    bool beschreibbar = false;  // ... and the user may write there
    bool installiert = false;   // ... and it is the folder the package installs to
    QString standardordner;     // the user's default, see Standardordner()
};

// The situation of this process (the executable's folder, the installed
// folder compiled in).
OrdnerLage OrdnerLageErmitteln(const QString &befehlszeile, const QString &standardordner);

// The program folder for this start.
QString ProgrammordnerWaehlen(const OrdnerLage &lage);

// The default of an installed register: zanti/PROGRAMM in the user's data
// folder ($XDG_DATA_HOME, else ~/.local/share), one folder per program, as
// each program always had its own.
QString Standardordner(const QString &datenordner, const QString &programm);

// Makes sure the folder exists. One that did not is made with the sample key
// layout, receipt header and settings, and *hinweis says where it is (for
// the operator). False with *fehler set when it cannot be made.
bool ProgrammordnerAnlegen(const QString &ordner, QString *hinweis, QString *fehler);

} // namespace zanti
