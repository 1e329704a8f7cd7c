// Program entry of Zanti and ZantiPC: the same register under two names.
#include "register/kasse.h"

#include <QApplication>
#include <QFontDatabase>

#include <pthread.h>
#include <sched.h>

namespace {

void *SchriftenLesen(void *)
{
    QFontDatabase::families();
    return nullptr;
}

// Starts the thread that lists the fonts on a core other than the one this
// thread runs on, if there is one. A new thread placed on this core would
// take it from the start for as long as the other core needs to wake up.
bool SchriftenNebenherLesen(pthread_t &faden)
{
    pthread_attr_t eigenschaften;
    pthread_attr_init(&eigenschaften);
    cpu_set_t kerne;
    CPU_ZERO(&kerne);
    const int hier = sched_getcpu();
    if (sched_getaffinity(0, sizeof kerne, &kerne) == 0 && hier >= 0 && CPU_COUNT(&kerne) > 1) {
        CPU_CLR(hier, &kerne);
        pthread_attr_setaffinity_np(&eigenschaften, sizeof kerne, &kerne);
    }
    const bool gestartet = pthread_create(&faden, &eigenschaften, SchriftenLesen, nullptr) == 0;
    pthread_attr_destroy(&eigenschaften);
    return gestartet;
}

} // namespace

int main(int argc, char *argv[])
{
    zanti::SignaleAbfangen();
    QApplication app(argc, argv);
    // Listing the fonts is a good part of the start. A second core does it
    // while the register opens its database; the window's first text waits
    // for it under the font database's own lock, if it must. Without the
    // thread the window lists them itself.
    pthread_t schriften{};
    const bool nebenher = SchriftenNebenherLesen(schriften);
    QApplication::setApplicationName(QStringLiteral(ZANTI_NAME));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZANTI_MAJOR).arg(ZANTI_MINOR).arg(ZANTI_REVISION));
    zanti::Programmversion version{ZANTI_MAJOR, ZANTI_MINOR, ZANTI_REVISION,
                                   QStringLiteral(ZANTI_CAPTION)};
    const int ergebnis = zanti::KasseAusfuehren(app, QCoreApplication::applicationDirPath(), version);
    if (nebenher)
        pthread_join(schriften, nullptr);
    return ergebnis;
}
