#pragma once
// The dialog "Druckerschnittstelle": choose the COM port of the printer.
// Shown without blocking the register; "OK" closes it only when the new
// port opened. It never touches the printer switch.
#include <QDialog>
#include <functional>

class QLineEdit;

namespace zanti {

class DruckerPort;

class Einstell : public QDialog
{
    Q_OBJECT

public:
    using NachErfolg = std::function<void(int port)>;

    // einstellung6: the current port number text, shown selected.
    // nachErfolg runs after the new port opened, with its number.
    Einstell(DruckerPort &port, const QString &einstellung6, NachErfolg nachErfolg,
             QWidget *eltern = nullptr);

private:
    void ok();
    void nurZahlen();

    DruckerPort &m_port;
    NachErfolg m_nachErfolg;
    QLineEdit *m_text1 = nullptr;
};

} // namespace zanti
