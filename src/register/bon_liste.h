#pragma once
// The list of the newest receipts (F9 in set-up mode): a tap picks one,
// "Kopie drucken" asks for its copy. Rows and keys are sized for fingers;
// the window never blocks the register.
#include "model/bon_liste.h"
#include "register/entwurfsflaeche.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace zanti {

class BonListe : public QWidget
{
    Q_OBJECT

public:
    explicit BonListe(QWidget *hauptfenster = nullptr);

    void eintraegeSetzen(const QList<BonListenEintrag> &eintraege);

signals:
    void kopieDrucken(qint64 lfd);

protected:
    void showEvent(QShowEvent *ereignis) override;

private:
    QWidget *m_hauptfenster;
    Fensterentwurf m_entwurf;
    QTableWidget *m_liste = nullptr;
    QPushButton *m_kopie = nullptr;
    QList<BonListenEintrag> m_eintraege;
};

} // namespace zanti
