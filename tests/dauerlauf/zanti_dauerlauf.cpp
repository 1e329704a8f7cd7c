// A shift without end for the power-cut trials: the real register window in
// the given program folder, driven by clicks on its keys (quantity, article
// keys, now and then STO, then "="), receipt after receipt, until the trial
// kills the process.
//
//   zanti_dauerlauf ORDNER SEED             sells until killed
//   zanti_dauerlauf ORDNER SEED --schritt N one receipt; the process kills
//                                           itself at the N-th disk step of
//                                           its close ("schritte K" when the
//                                           close has only K steps)
//
// "bereit" on stdout: start-up (and the repair of an interrupted close) is
// done; a line on stdin starts the selling. Every message box is written to
// stderr instead of shown.
#include "persistence/dateischritt.h"
#include "register/kasse.h"
#include "register/meldung.h"

#include <QApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

int g_killBeiSchritt = 0;
int g_schritte = 0;
bool g_zaehlen = false;

void SchrittGesehen(const char *)
{
    if (!g_zaehlen)
        return;
    if (++g_schritte == g_killBeiSchritt)
        ::raise(SIGKILL);
}

void Klicken(zanti::Kasse &kasse, const QString &name)
{
    auto *knopf = kasse.findChild<QPushButton *>(name);
    if (!knopf || !knopf->isEnabled())
        return;
    QTest::mouseClick(knopf, Qt::LeftButton);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zanti_dauerlauf ORDNER SEED [--schritt N]\n");
        return 2;
    }
    const QString ordner = args[1];
    QRandomGenerator zufall(args[2].toUInt());
    if (args.size() >= 5 && args[3] == QLatin1String("--schritt"))
        g_killBeiSchritt = args[4].toInt();

    zanti::MeldungsAnzeigeSetzen([](QWidget *, const QString &text, const QString &, zanti::NachOk ok) {
        std::fprintf(stderr, "Meldung: %s\n", qPrintable(text));
        if (ok)
            ok();
    });
    zanti::DateischrittBeobachterSetzen(SchrittGesehen);

    zanti::Kasse kasse(ordner, {3, 3, 18, QStringLiteral("Zanti 2016")});
    kasse.show();
    std::printf("bereit\n");
    std::fflush(stdout);
    // The trial looks at the files first; then the shift begins.
    char weiter[16];
    if (!std::fgets(weiter, sizeof weiter, stdin))
        return 0;

    if (g_killBeiSchritt > 0) {
        QTimer::singleShot(0, &kasse, [&] {
            Klicken(kasse, QStringLiteral("Taste02"));
            Klicken(kasse, QStringLiteral("Command3"));
            Klicken(kasse, QStringLiteral("Command5"));
            g_zaehlen = true;
            Klicken(kasse, QStringLiteral("IstgleichTaste"));
            g_zaehlen = false;
            std::printf("schritte %d\n", g_schritte);
            std::fflush(stdout);
            kasse.close();
            app.quit();
        });
        return app.exec();
    }

    // One click per turn of the event loop, so the timer, the port and the
    // saves run between them as in a real shift.
    int offen = 0;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, &kasse, [&] {
        if (offen == 0) {
            offen = 2 + zufall.bounded(3); // one to three lines, then "="
            return;
        }
        if (--offen == 0) {
            Klicken(kasse, QStringLiteral("IstgleichTaste"));
            return;
        }
        const int wurf = zufall.bounded(10);
        if (wurf == 0)
            Klicken(kasse, QStringLiteral("Storno"));
        else if (wurf <= 3)
            Klicken(kasse, QStringLiteral("Taste0%1").arg(2 + zufall.bounded(3)));
        Klicken(kasse, QStringLiteral("Command%1").arg(1 + zufall.bounded(6)));
    });
    takt.start(1);
    return app.exec();
}
