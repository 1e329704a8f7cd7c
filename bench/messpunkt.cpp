// The measuring point of a program started by the benchmark. It is linked
// into the register's own program entry and into the floor program, never
// into the product, and does nothing unless ZANTI_MESSEN_FENSTER names a
// window. Then it reports on stdout, one "name value" line each:
//   erster_frame  CLOCK_MONOTONIC in ns when that window's first frame is
//                 done (the clock is the machine's, so the starting process
//                 takes the time from its exec);
//   erster_frame_cpu  the CPU time of the process until then, in ns;
//   vmhwm_kb      with ZANTI_MESSEN_BONS=n: the peak memory after the
//                 program settled, n receipts of 20 lines were closed (keys
//                 Command1..20, then IstgleichTaste) and it settled again.
// and ends the process at once: what a normal end would write is not measured.
// Such an end leaves one trace a closed register would not: the lock file of
// its printer's serial port. It is removed, as closing the port removes it;
// otherwise every next start would begin as after a crash, with a stale lock
// to check and clear (about 1 ms on the machine this was written on).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kBonZeilen = 20;

qint64 UhrNs(clockid_t uhr)
{
    timespec t{};
    clock_gettime(uhr, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void Melden(const char *name, qint64 wert)
{
    std::printf("%s %lld\n", name, static_cast<long long>(wert));
    std::fflush(stdout);
}

qint64 SpitzeKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : status.readAll().split('\n')) {
        if (zeile.startsWith("VmHWM:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Ends the run. First the serial-port locks this process holds go: files
// LCK..<port> with the holder's pid on the first line, in the folders such
// locks are kept in.
[[noreturn]] void Beenden(int code)
{
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    for (const char *pfad : {"/var/lock", "/run/lock", "/var/spool/locks", "/tmp", "/var/tmp"}) {
        const QDir ordner(QString::fromLatin1(pfad));
        for (const QString &name : ordner.entryList({QStringLiteral("LCK..*")}, QDir::Files)) {
            QFile sperre(ordner.filePath(name));
            if (sperre.open(QIODevice::ReadOnly) && sperre.readLine().trimmed() == pid)
                QFile::remove(sperre.fileName());
        }
    }
    std::_Exit(code);
}

class Messpunkt : public QObject
{
public:
    Messpunkt(const QString &fenster, int bons) : m_fenster(fenster), m_bons(bons) {}

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override
    {
        if (ereignis->type() == QEvent::Paint && objekt->isWidgetType()
            && static_cast<QWidget *>(objekt)->window()->objectName() == m_fenster) {
            qApp->removeEventFilter(this);
            m_hauptfenster = static_cast<QWidget *>(objekt)->window();
            // The frame is done when the event that paints it is.
            QTimer::singleShot(0, this, &Messpunkt::ersterFrame);
        }
        return false;
    }

private:
    void ersterFrame()
    {
        Melden("erster_frame", UhrNs(CLOCK_MONOTONIC));
        Melden("erster_frame_cpu", UhrNs(CLOCK_PROCESS_CPUTIME_ID));
        if (m_bons <= 0)
            Beenden(0);
        nachRuhe(&Messpunkt::tippen);
    }

    // Waits until the process has done its deferred work (a long protocol
    // filled in after the first frame, say): idle means under 10 % CPU over
    // 300 ms. Gives up after 30 s.
    void nachRuhe(void (Messpunkt::*weiter)())
    {
        m_ruheSeit = UhrNs(CLOCK_MONOTONIC);
        m_cpuSeit = UhrNs(CLOCK_PROCESS_CPUTIME_ID);
        m_ruheFrist = m_ruheSeit + 30'000'000'000;
        m_weiter = weiter;
        QTimer::singleShot(300, this, &Messpunkt::ruhePruefen);
    }
    void ruhePruefen()
    {
        const qint64 jetzt = UhrNs(CLOCK_MONOTONIC);
        const qint64 cpu = UhrNs(CLOCK_PROCESS_CPUTIME_ID);
        const bool ruhig = (cpu - m_cpuSeit) * 10 < jetzt - m_ruheSeit;
        if (ruhig || jetzt > m_ruheFrist) {
            if (!ruhig)
                std::fprintf(stderr, "# warning: the program never settled\n");
            (this->*m_weiter)();
            return;
        }
        m_ruheSeit = jetzt;
        m_cpuSeit = cpu;
        QTimer::singleShot(300, this, &Messpunkt::ruhePruefen);
    }

    // One tap per pass of the event loop, as taps come from a person.
    void tippen()
    {
        if (!m_hauptfenster) {
            std::fprintf(stderr, "# warning: the window is gone\n");
            Beenden(1);
        }
        const int schritt = m_schritt % (kBonZeilen + 1);
        const QString name = schritt < kBonZeilen ? QStringLiteral("Command%1").arg(schritt + 1)
                                                  : QStringLiteral("IstgleichTaste");
        auto *knopf = m_hauptfenster->findChild<QAbstractButton *>(name);
        if (!knopf) {
            std::fprintf(stderr, "# warning: no key %s\n", qPrintable(name));
            Beenden(1);
        }
        knopf->click();
        if (schritt == kBonZeilen)
            offeneZeilenPruefen();
        if (++m_schritt < m_bons * (kBonZeilen + 1))
            QTimer::singleShot(0, this, &Messpunkt::tippen);
        else
            nachRuhe(&Messpunkt::spitzeMelden);
    }
    void offeneZeilenPruefen() const
    {
        auto *raster = m_hauptfenster->findChild<QAbstractItemView *>(QStringLiteral("DataGrid1"));
        if (raster && raster->model() && raster->model()->rowCount() != 0)
            std::fprintf(stderr, "# warning: %d receipt lines left after the close\n",
                         raster->model()->rowCount());
    }
    void spitzeMelden()
    {
        // A message box that came up on the way would make these receipts
        // not the ones an operator closes.
        for (QWidget *fenster : QApplication::topLevelWidgets()) {
            if (fenster->isVisible() && fenster != m_hauptfenster)
                std::fprintf(stderr, "# warning: a window is open: %s %s\n",
                             qPrintable(fenster->objectName()), qPrintable(fenster->windowTitle()));
        }
        Melden("vmhwm_kb", SpitzeKb());
        Beenden(0);
    }

    QString m_fenster;
    int m_bons = 0;
    QPointer<QWidget> m_hauptfenster;
    int m_schritt = 0;
    qint64 m_ruheSeit = 0;
    qint64 m_cpuSeit = 0;
    qint64 m_ruheFrist = 0;
    void (Messpunkt::*m_weiter)() = nullptr;
};

void MesspunktSetzen()
{
    const QString fenster = qEnvironmentVariable("ZANTI_MESSEN_FENSTER");
    if (fenster.isEmpty())
        return;
    auto *messpunkt = new Messpunkt(fenster, qEnvironmentVariableIntValue("ZANTI_MESSEN_BONS"));
    messpunkt->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(messpunkt);
}

} // namespace

// Runs when the application object is made, before main() goes on.
Q_COREAPP_STARTUP_FUNCTION(MesspunktSetzen)
