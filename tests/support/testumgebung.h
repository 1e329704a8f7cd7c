#pragma once
// What every window test needs: a fresh program folder, a recorder in place
// of the message boxes, and a watchdog against modal windows that would wait
// for a person.
#include "support/programmordner.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>

namespace zanti::test {

struct Meldungseintrag
{
    QString text;
    QString titel;
};

// Records every message instead of showing it; OK is "pressed" at once.
class Meldungsrekorder
{
public:
    Meldungsrekorder();
    ~Meldungsrekorder();
    QList<Meldungseintrag> meldungen;
    QStringList texte() const;
    // The first line of each: a port message without the device's cause,
    // which depends on the machine's devices.
    QStringList ersteZeilen() const;
};

// Fails the running test when a modal window appears that nobody expects.
class ModalWaechter
{
public:
    ModalWaechter();

private:
    QTimer m_timer;
};

// The build folder (for screenshots): from the environment, else the current one.
QString BuildOrdner();

} // namespace zanti::test
