#pragma once
// The password window "Passworteingabe" that opens set-up mode. It never
// blocks the register: created at its first showing, then only shown and
// hidden, so a half-typed entry is still there next time. It hands the
// entry over; the register checks it and answers with angenommen() or
// abgelehnt().
#include "register/entwurfsflaeche.h"

#include <QWidget>

class QLineEdit;

namespace zanti {

class Anmeldung : public QWidget
{
    Q_OBJECT

public:
    // kasse is the register window: parent and the corner the window is
    // placed from at its first showing.
    explicit Anmeldung(QWidget *kasse);

    // Shows the window (or raises it) with the focus in the field.
    void zeigen();
    // The password was right: the entry goes and the window with it.
    void angenommen();
    // The password was wrong: the entry stays, so digits typed next are
    // appended to it.
    void abgelehnt();

signals:
    void kennwortEingegeben(const QString &kennwort);

private:
    void ziffer(const QString &d);
    void ok();
    void abbrechen();

    QWidget *m_kasse;
    Fensterentwurf m_entwurf;
    QLineEdit *m_txtPassword = nullptr;
};

} // namespace zanti
