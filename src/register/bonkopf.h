#pragma once
// The dialog "Bonkopfeinstellung": the four receipt head lines and the logo
// number. It never blocks the register: shown non-modal, it hands the new
// lines and logo number over at "OK" and closes itself (and is then
// deleted); the register stores them.
#include "persistence/einstellungen.h"

#include <QString>
#include <QWidget>
#include <array>

class QLineEdit;

namespace zanti {

class Bonkopf : public QWidget
{
    Q_OBJECT

public:
    // Lines 1..4 of kopfzeile fill Text1..Text4, bonImageNr fills Text5.
    Bonkopf(const Kopfzeilen &kopfzeile, int bonImageNr, QWidget *hauptfenster);

    // 4800 x 3735 twips from the main window's top-left corner.
    static constexpr int kAbstandX = 4800;
    static constexpr int kAbstandY = 3735;

signals:
    // Empty lines come as one blank.
    void uebernommen(const Kopfzeilen &kopfzeile, int bonImageNr);

private:
    void uebernehmen();

    std::array<QLineEdit *, 5> m_text{};   // Text1..Text4
    QLineEdit *m_logo = nullptr;
};

} // namespace zanti
