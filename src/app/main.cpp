// Program entry of Zanti and ZantiPC: the same register under two names.
#include "app/programm.h"
#include "app/signale.h"
#include "core/nebenher.h"
#include "register/kasse.h"

#include <QApplication>
#include <QFontDatabase>

int main(int argc, char *argv[])
{
    zanti::SignaleAbfangen();
    QApplication app(argc, argv);
    // Listing the fonts is a good part of the start. A second core does it
    // while the register opens its database; the window's first text waits
    // for it under the font database's own lock, if it must.
    zanti::Nebenher schriften([] { QFontDatabase::families(); });
    QApplication::setApplicationName(QStringLiteral(ZANTI_NAME));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZANTI_MAJOR).arg(ZANTI_MINOR).arg(ZANTI_REVISION));
    zanti::Programmversion version{ZANTI_MAJOR, ZANTI_MINOR, ZANTI_REVISION,
                                   QStringLiteral(ZANTI_CAPTION)};
    return zanti::KasseAusfuehren(app, QCoreApplication::applicationDirPath(), version);
}
