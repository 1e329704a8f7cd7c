#include "app/befehlszeile.h"

namespace zanti {

namespace {

QString Hilfe(const QString &programm, const QString &standardordner)
{
    return QStringLiteral(
               "Aufruf: %1 [--ordner ORDNER] [--vollbild]\n"
               "\n"
               "Kasse mit Touch-Bildschirm für den Getränke- und Imbissstand eines Vereinsfests.\n"
               "\n"
               "  --ordner ORDNER  Programmordner der Kasse: Tastenbelegung, Verkaufszahlen,\n"
               "                   Protokoll, Einstellungen und Bon-Datenbank liegen dort.\n"
               "                   Einen Ordner, den es noch nicht gibt, legt die Kasse mit\n"
               "                   einer Beispiel-Tastenbelegung an.\n"
               "  --vollbild       Vollbild ohne Fensterrahmen (für den Stand-PC).\n"
               "  --help           Zeigt diese Hilfe.\n"
               "\n"
               "Ohne --ordner nimmt die Kasse den Ordner, in dem das Programm liegt, wenn sie\n"
               "dort schreiben darf. Eine installierte Kasse nimmt %2\n"
               "und legt ihn beim ersten Start an.\n")
        .arg(programm, standardordner);
}

Befehlszeile Fehler(const QString &programm, const QString &was)
{
    Befehlszeile b;
    b.aktion = Befehlszeile::Aktion::Fehler;
    b.text = QStringLiteral("%1: %2\nHilfe: %1 --help\n").arg(programm, was);
    return b;
}

} // namespace

Befehlszeile BefehlszeileLesen(const QStringList &argumente, const QString &programm,
                               const QString &standardordner)
{
    Befehlszeile b;
    bool ordnerGesehen = false;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString &arg = argumente[i];
        if (arg == u"--help" || arg == u"-h") {
            b.aktion = Befehlszeile::Aktion::Hilfe;
            b.text = Hilfe(programm, standardordner);
            return b;
        }
        if (arg == u"--vollbild") {
            b.vollbild = true;
            continue;
        }
        QString ordner;
        if (arg == u"--ordner") {
            if (i + 1 >= argumente.size())
                return Fehler(programm, QStringLiteral("Nach --ordner fehlt der Ordner."));
            ordner = argumente[++i];
        } else if (arg.startsWith(u"--ordner=")) {
            ordner = arg.mid(9);
        } else {
            return Fehler(programm, QStringLiteral("Unbekanntes Argument „%1“.").arg(arg));
        }
        if (ordnerGesehen)
            return Fehler(programm, QStringLiteral("--ordner ist doppelt angegeben."));
        if (ordner.isEmpty())
            return Fehler(programm, QStringLiteral("Nach --ordner fehlt der Ordner."));
        ordnerGesehen = true;
        b.ordner = ordner;
    }
    return b;
}

} // namespace zanti
