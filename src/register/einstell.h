#pragma once
// The dialog "Druckerschnittstelle": choose the COM port of the printer.
// Shown without blocking the register; "OK" checks the number and offers
// it with portGewaehlt. Whoever opens the port answers: accept() when it
// opened, nichtGeoeffnet() with the message when not (the dialog stays).
// It never touches the printer switch.
#include <QDialog>

class QLineEdit;

namespace zanti {

class Einstell : public QDialog
{
    Q_OBJECT

public:
    // einstellung6: the current port number text, shown selected.
    explicit Einstell(const QString &einstellung6, QWidget *eltern = nullptr);

    void nichtGeoeffnet(const QString &meldung);

signals:
    // nummer is 1 to 16; text is the number as it stands in the field.
    void portGewaehlt(int nummer, const QString &text);

private:
    void ok();
    void nurZahlen();

    QLineEdit *m_text1 = nullptr;
};

} // namespace zanti
