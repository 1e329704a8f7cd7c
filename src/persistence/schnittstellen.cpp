#include "persistence/schnittstellen.h"

#include "persistence/datei.h"
#include "persistence/ini_datei.h"

namespace zanti {

namespace {

// Device paths and addresses can be long; the buffer only has to hold one.
constexpr int kGeraetPuffer = 1024;

} // namespace

QString ComGeraet(const QString &programmordner, int n)
{
    const QString schluessel = QStringLiteral("COM%1").arg(n);
    const QString eingetragen = IniLesen(ProgrammDatei(programmordner, QStringLiteral("schnittstellen.ini")),
                                         QStringLiteral("COM"), schluessel, kGeraetPuffer);
    if (eingetragen != kUnbekannt && !eingetragen.isEmpty())
        return eingetragen;
#ifdef Q_OS_WIN
    return schluessel;
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

} // namespace zanti
