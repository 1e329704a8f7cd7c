// The printer in the window: the port dialog, and the window Anzeige for
// reports and the help text. Opening, switching and the reports themselves
// are the model's.
#include "register/anzeige.h"
#include "register/einstell.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"

namespace zanti {

void Kasse::schnittstelleWaehlen()
{
    auto *dialog = new Einstell(m_zustand.Einstellung.ComPort, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &Einstell::portGewaehlt, this, [this, dialog](int nummer, const QString &text) {
        if (const std::optional<QString> fehler = m_modell->SchnittstelleWaehlen(nummer, text)) {
            dialog->nichtGeoeffnet(*fehler);
            return;
        }
        dialog->accept();
    });
    dialog->show();
}

Anzeige &Kasse::anzeige()
{
    if (!m_anzeige)
        m_anzeige = new Anzeige(this);
    return *m_anzeige;
}

void Kasse::berichtZeigen(const QString &text)
{
    Anzeige &fenster = anzeige();
    fenster.textSetzen(text);
    fenster.show();
    fenster.raise();
}

void Kasse::HilfeAnzeigen()
{
    m_modell->HilfeAnzeigen();
}

} // namespace zanti
