// The quantity keys: one digit 1 to 9, or 10.
#include "register/kasse.h"

#include <QLabel>

namespace zanti {

namespace {

Cent Menge(const QString &anzahl)
{
    return BetragLesen(anzahl).value_or(0);
}

} // namespace

void Kasse::mengenZiffer(int ziffer)
{
    // A second digit does not append: only "1" then "0" makes 10.
    if (Menge(z.Anzahl_Eingabe) < 100)
        z.Anzahl_Eingabe = QString::number(ziffer);
    m_label1[0]->clear();
    m_label2->setText(z.Anzahl_Eingabe);
}

void Kasse::mengeNull()
{
    if (Menge(z.Anzahl_Eingabe) == 100)
        z.Anzahl_Eingabe += u'0';
    m_label2->setText(z.Anzahl_Eingabe);
}

void Kasse::mengeLoeschen()
{
    z.Anzahl_Eingabe = u"0"_qs;
    m_label2->clear();
    m_label1[0]->clear();
    m_label1[1]->clear();
}

} // namespace zanti
