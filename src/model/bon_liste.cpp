#include "model/bon_liste.h"

namespace zanti {

QString DruckstatusText(Druckstatus status)
{
    switch (status) {
    case Druckstatus::NichtVerlangt: return QStringLiteral("Drucker aus");
    case Druckstatus::Gedruckt: return QStringLiteral("gedruckt");
    case Druckstatus::Wartet: return QStringLiteral("wartet");
    case Druckstatus::SpaeterGedruckt: return QStringLiteral("später gedruckt");
    }
    return {};
}

BonListenEintrag BonListenEintragAus(const Beleg &beleg)
{
    return {beleg.lfd, QString::number(beleg.nummer),
            beleg.zeit.lokal().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")), BetragFormat(beleg.summeCent),
            DruckstatusText(beleg.druck)};
}

} // namespace zanti
