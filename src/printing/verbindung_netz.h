#pragma once
// A network printer on raw TCP ("tcp://192.168.1.50:9100"). Once connected
// it is a socket like any other, carried by the device connection; its
// automatic status comes back on the same connection.
#include "printing/drucker_verbindung.h"

namespace zanti {

// A printer that is not there must not hold up the window for long.
inline constexpr int kNetzFristMs = 1500;
inline constexpr quint16 kNetzStandardPort = 9100;

bool IstNetzadresse(const QString &geraet);

// Empty when the address is wrong or nobody answers in time; fehler says which.
std::unique_ptr<DruckerVerbindung> NetzOeffnen(const QString &adresse, Oeffnungsfehler &fehler);

} // namespace zanti
