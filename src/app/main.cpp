// Program entry of Zanti and ZantiPC: the same register under two names.
#include "core/nebenher.h"
#include "register/kasse.h"

#include <QApplication>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <future>

int main(int argc, char *argv[])
{
    zanti::SignaleAbfangen();
    // Reading the fonts is a good part of the start. A second core does it
    // while the register makes its application object and opens its
    // database: first the system's font configuration, which needs nothing
    // of Qt, then Qt's list of the fonts, once there is an application. The
    // window's first text waits for the list under the font database's own
    // lock, if it must.
    std::promise<void> anwendungDa;
    zanti::Nebenher schriften([da = anwendungDa.get_future().share()] {
        FcInit();
        da.wait();
        QFontDatabase::families();
    });
    QApplication app(argc, argv);
    anwendungDa.set_value();
    QApplication::setApplicationName(QStringLiteral(ZANTI_NAME));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZANTI_MAJOR).arg(ZANTI_MINOR).arg(ZANTI_REVISION));
    zanti::Programmversion version{ZANTI_MAJOR, ZANTI_MINOR, ZANTI_REVISION,
                                   QStringLiteral(ZANTI_CAPTION)};
    return zanti::KasseAusfuehren(app, QCoreApplication::applicationDirPath(), version);
}
