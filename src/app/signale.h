#pragma once
// The signals of a PC that shuts down or a terminal that closes (SIGTERM,
// SIGINT, SIGHUP) end the register as closing its window does, from the
// event loop, never halfway through something. Unix only; elsewhere these
// do nothing.
#include <QObject>
#include <functional>

namespace zanti {

// From here on these signals no longer kill the process; they wait until
// BeiSignal is in place. First thing in main.
void SignaleAbfangen();

// Calls beenden from the event loop for such a signal, also for one that
// arrived before; the connection lives as long as kontext.
void BeiSignal(QObject *kontext, std::function<void()> beenden);

} // namespace zanti
