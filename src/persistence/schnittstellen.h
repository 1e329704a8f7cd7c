#pragma once
// Which device each COM number of the register stands for (schnittstellen.ini).
#include <QString>

namespace zanti {

// The device behind COM n: key "COMn" of section [COM] in schnittstellen.ini
// in the program folder when it is there, else the machine's n-th serial port.
QString ComGeraet(const QString &programmordner, int n);

} // namespace zanti
