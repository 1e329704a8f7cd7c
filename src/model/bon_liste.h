#pragma once
// The newest receipts as the copy list shows them: number, time, sum and
// what became of the print, all as text.
#include "persistence/journal.h"

#include <QList>
#include <QString>

namespace zanti {

struct BonListenEintrag
{
    qint64 lfd = 0; // the receipt in the journal
    QString nummer;
    QString zeit;   // "dd.MM.yyyy hh:mm:ss", the register's clock then
    QString summe;  // "###0.00"
    QString druck;
};

QString DruckstatusText(Druckstatus status);
BonListenEintrag BonListenEintragAus(const Beleg &beleg);

} // namespace zanti
