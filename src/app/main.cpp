// Program entry of Zanti and ZantiPC: the same register under two names.
#include "app/befehlszeile.h"
#include "app/programm.h"
#include "app/programmordner.h"
#include "app/signale.h"
#include "core/nebenher.h"
#include "register/kasse.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    const QString standardordner = zanti::Standardordner(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), QStringLiteral(ZANTI_NAME));
    const zanti::Befehlszeile befehl =
        zanti::BefehlszeileLesen(argumente, QStringLiteral(ZANTI_NAME), standardordner);
    if (befehl.aktion != zanti::Befehlszeile::Aktion::Starten) {
        std::fputs(befehl.text.toLocal8Bit().constData(), befehl.exitcode() == 0 ? stdout : stderr);
        return befehl.exitcode();
    }

    zanti::SignaleAbfangen();
    QApplication app(argc, argv);
    // Listing the fonts is a good part of the start. A second core does it
    // while the register opens its database; the window's first text waits
    // for it under the font database's own lock, if it must.
    zanti::Nebenher schriften([] { QFontDatabase::families(); });
    QApplication::setApplicationName(QStringLiteral(ZANTI_NAME));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZANTI_MAJOR).arg(ZANTI_MINOR).arg(ZANTI_REVISION));

    const QString ordner =
        zanti::ProgrammordnerWaehlen(zanti::OrdnerLageErmitteln(befehl.ordner, standardordner));
    QString hinweis, fehler;
    if (!zanti::ProgrammordnerAnlegen(ordner, &hinweis, &fehler)) {
        std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
        return 1;
    }
    if (!hinweis.isEmpty())
        std::fprintf(stderr, "%s\n", hinweis.toLocal8Bit().constData());

    zanti::Programmversion version{ZANTI_MAJOR, ZANTI_MINOR, ZANTI_REVISION,
                                   QStringLiteral(ZANTI_CAPTION)};
    return zanti::KasseAusfuehren(app, ordner, version, befehl.vollbild, hinweis);
}
