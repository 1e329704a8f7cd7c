// Running the register as a program: one register per program folder, the
// window maximised, and the program ends once the shutdown is done, after
// the OK of a message about files it could not save.
#include "app/programm.h"

#include "app/signale.h"
#include "persistence/ordner_sperre.h"
#include "register/kasse.h"
#include "register/meldung.h"

#include <QApplication>
#include <QPointer>

#include <memory>

namespace zanti {

int KasseAusfuehren(QApplication &app, const QString &programmordner, const Programmversion &version,
                    bool vollbild, const QString &hinweis)
{
    app.setQuitOnLastWindowClosed(false);
    // A signal that arrived during start-up waits and ends the program from
    // the event loop, through the normal shutdown, never halfway.
    QPointer<Kasse> fenster;
    BeiSignal(&app, [&fenster, &app] {
        if (fenster)
            fenster->close();
        // A failed save is on stderr; the PC is going down, nobody waits for OK.
        app.quit();
    });

    const OrdnerSperre sperre(programmordner);
    if (sperre.belegt()) {
        const QString text = u"Die Kasse läuft bereits in diesem Ordner."_qs;
        qWarning("Zanti: %s", qPrintable(text));
        Meldung(nullptr, text, {}, [&app] { app.quit(); });
        app.exec();
        return 1;
    }

    // The window stays after its close until the program ends: a message
    // about the shutdown still has it to report to.
    const auto kasse = std::make_unique<Kasse>(programmordner, version);
    fenster = kasse.get();
    QObject::connect(kasse.get(), &Kasse::beendet, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (vollbild)
        kasse->showFullScreen();
    else
        kasse->zeigen();
    if (!hinweis.isEmpty())
        Meldung(kasse.get(), hinweis);
    return app.exec();
}

} // namespace zanti
