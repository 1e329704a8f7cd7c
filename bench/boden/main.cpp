// The floor program: the floor window on the program folder it lives in
// (or the folder given as the first argument), maximised.
#include "boden/boden_fenster.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList argumente = QCoreApplication::arguments();
    zanti::bench::BodenFenster fenster(argumente.size() > 1 ? argumente[1]
                                                            : QCoreApplication::applicationDirPath());
    fenster.showMaximized();
    return app.exec();
}
