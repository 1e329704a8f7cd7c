#include "register.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTest>

#include <cstdio>

namespace zanti::bench {

Register::Register(const Vorlage &vorlage, bool drucker, const QString &druckerGeraet,
                   const QByteArray &veranstaltung)
{
    vorlage.anlegen(f.ordner, drucker);
    if (!druckerGeraet.isEmpty())
        f.ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + druckerGeraet});
    if (!veranstaltung.isEmpty())
        f.ordner.schreiben(u"veranstaltung.ini"_qs, veranstaltung);
    f.starten();
    if (!QTest::qWaitForWindowExposed(&f.kasse()))
        std::fprintf(stderr, "# warning: the register window was never exposed\n");
}

Messwert Register::artikel()
{
    taste = taste % 35 + 1;
    return Klick(f.finden<QAbstractButton>(u"Command"_qs + QString::number(taste)));
}

Messwert Register::istgleich()
{
    return Klick(f.finden<QAbstractButton>(u"IstgleichTaste"_qs));
}

void Register::bonzeilenPruefen(int erwartet, const char *wo)
{
    const int zeilen = f.finden<QAbstractItemView>(u"DataGrid1"_qs)->model()->rowCount();
    if (zeilen != erwartet)
        std::fprintf(stderr, "# warning (%s): %d receipt lines, expected %d\n", wo, zeilen, erwartet);
}

} // namespace zanti::bench
