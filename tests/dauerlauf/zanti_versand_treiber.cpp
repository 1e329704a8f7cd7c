// A register for the sync trials, reduced to its journal and its forwarder:
// "verkaufen" closes a receipt every few milliseconds (now and then a void)
// and wakes the forwarder, until it is killed; "nachsenden" only forwards
// and ends once everything is on the server. Prints "bereit" when started,
// "fehler ..." for a close that failed, "fertig" when all is sent.
#include "support/journal_kasse.h"
#include "veranstaltung/weiterleitung.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

using namespace zanti;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argumente = app.arguments();
    if (argumente.size() < 4)
        return 2;
    const QString ordner = argumente[1];
    QRandomGenerator zufall(argumente[2].toUInt());
    const bool verkaufen = argumente[3] == u"verkaufen"_qs;

    test::JournalKasse kasse(ordner, u"host-"_qs + QDir(ordner).dirName());
    if (!kasse.offen()) {
        std::printf("fehler %s\n", qPrintable(kasse.fehler()));
        return 1;
    }
    WeiterleitungsOptionen optionen;
    optionen.stapel = 50;
    optionen.antwortFristMs = 1000;
    optionen.verbindungsFristS = 2;
    optionen.pauseMinMs = 50;
    optionen.pauseMaxMs = 200;
    optionen.nachsehenMs = 100;
    WeiterleitungsStart start = WeiterleitungStarten(ordner, u"x"_qs, optionen);
    if (!start.weiterleitung) {
        std::printf("fehler %s\n", qPrintable(start.meldung));
        return 1;
    }
    Weiterleitung &weiterleitung = *start.weiterleitung;

    QTimer takt;
    if (verkaufen) {
        QObject::connect(&takt, &QTimer::timeout, &app, [&] {
            const bool ok = zufall.bounded(6) == 0 ? kasse.stornoBuchen(zufall) : kasse.belegSchliessen(zufall);
            if (!ok) {
                std::printf("fehler %s\n", qPrintable(kasse.fehler()));
                std::fflush(stdout);
            }
            weiterleitung.wecken();
        });
        takt.start(3);
    } else {
        QObject::connect(&weiterleitung, &Weiterleitung::zustandGeaendert, &app, [&](const QString &text) {
            if (text == u"Server: alles gesendet"_qs) {
                std::puts("fertig");
                std::fflush(stdout);
                app.quit();
            }
        });
    }
    std::puts("bereit");
    std::fflush(stdout);
    return app.exec();
}
