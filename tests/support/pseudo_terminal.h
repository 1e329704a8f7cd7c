#pragma once
// A printer stand-in for tests: a pseudo-terminal whose slave is the
// register's serial device and whose master the test reads and writes.
//
// The helper keeps a slave descriptor of its own open for its whole life.
// Without one, the master reads EIO whenever the register's port is closed
// (before it opens, between a close and the next opening), and bytes sent
// towards the register could be thrown away with the last slave close. The
// helper's descriptor never reads, so everything sent reaches the register.
//
// The register writes asynchronously from the Qt event loop, so waiting here
// runs that loop (QTest::qWait); it is meant for tests only.
#include <QByteArray>
#include <QString>
#include <functional>

namespace zanti::test {

class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool offen() const { return m_master >= 0; }
    // The slave device, e.g. /dev/pts/4: the register opens this one.
    QString geraet() const { return m_geraet; }

    // What arrived: waits up to wartezeitMs for the first byte, then until
    // the line has been quiet for a short while, so a burst comes whole.
    QByteArray empfangen(int wartezeitMs = 1000);
    // Waits until at least anzahlBytes arrived or the time is up; returns
    // everything that arrived, so surplus bytes show in a comparison.
    QByteArray empfangenBis(qsizetype anzahlBytes, int wartezeitMs = 5000);

    // Reads on another thread while aktion runs, for a register that waits
    // for its printer (the drain at exit); returns once anzahlBytes arrived
    // or the time is up, and aktion has returned.
    QByteArray empfangenWaehrend(const std::function<void()> &aktion, qsizetype anzahlBytes,
                                 int wartezeitMs);

    // Printer to register, e.g. status bytes.
    void senden(const QByteArray &bytes);

    // Pulls the plug: the register's end sees a hang-up.
    void schliessen();

    // What the last close of a real line does after a register died with
    // the port open: the exclusive use its port had set (TIOCEXCL) ends.
    // This helper's own descriptor keeps the line open, so it ends it here;
    // otherwise only root could open the line again.
    void letzterSchliessenderWeg();

private:
    void lesen();

    int m_master = -1;
    int m_slave = -1;
    QString m_geraet;
    QByteArray m_eingang;
};

} // namespace zanti::test
