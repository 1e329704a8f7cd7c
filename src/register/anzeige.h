#pragma once
// The text window "Zanti . . .": reports and the key help when they are not
// printed. It never blocks the register; "OK" hides it.
#include "register/entwurfsflaeche.h"

#include <QWidget>

class QPlainTextEdit;

namespace zanti {

class Anzeige : public QWidget
{
    Q_OBJECT

public:
    // The window places itself relative to the main window when first shown.
    explicit Anzeige(QWidget *hauptfenster = nullptr);

    // Replaces the whole text; lines end with CR LF.
    void textSetzen(const QString &text);
    // The text as given, CR LF line ends included.
    QString text() const;

protected:
    void showEvent(QShowEvent *ereignis) override;

private:
    QWidget *m_hauptfenster;
    Fensterentwurf m_entwurf;
    QPlainTextEdit *m_text1 = nullptr;
};

} // namespace zanti
