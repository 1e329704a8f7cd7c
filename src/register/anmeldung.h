#pragma once
// The password window "Passworteingabe" that opens set-up mode. It never
// blocks the register: created at its first showing, then only shown and
// hidden, so a half-typed entry is still there next time.
#include "register/entwurfsflaeche.h"

#include <QWidget>

class QLineEdit;

namespace zanti {

struct KassenZustand;

class Anmeldung : public QWidget
{
    Q_OBJECT

public:
    // kasse is the register window: parent and the corner the window is
    // placed from at its first showing.
    Anmeldung(KassenZustand &z, QWidget *kasse);

    // Shows the window (or raises it) with the focus in the field.
    void zeigen();

    // True after an accepted password, false after "Abbrechen".
    bool LoginSucceeded = false;

private:
    void ziffer(const QString &d);
    void ok();
    void abbrechen();

    KassenZustand &z;
    QWidget *m_kasse;
    Fensterentwurf m_entwurf;
    QLineEdit *m_txtPassword = nullptr;
    bool m_platziert = false;
};

} // namespace zanti
