// Program entry of Zanti and ZantiPC: the same register under two names.
#include "register/kasse.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    zanti::SignaleAbfangen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(ZANTI_NAME));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZANTI_MAJOR).arg(ZANTI_MINOR).arg(ZANTI_REVISION));
    zanti::Programmversion version{ZANTI_MAJOR, ZANTI_MINOR, ZANTI_REVISION,
                                   QStringLiteral(ZANTI_CAPTION)};
    return zanti::KasseAusfuehren(app, QCoreApplication::applicationDirPath(), version);
}
