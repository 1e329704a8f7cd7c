#pragma once
// The dialog "Bonkopfeinstellung": the four receipt head lines and the logo
// number. It never blocks the register: shown non-modal, it writes the
// register's lines and logo number directly and closes itself (and is then
// deleted).
#include "persistence/einstellungen.h"

#include <QString>
#include <QWidget>
#include <array>

class QLineEdit;

namespace zanti {

class Bonkopf : public QWidget
{
public:
    // Re-reads bonkopf.ini (30-character buffer) into kopfzeile 1..4 and
    // fills the fields; bonImageNr fills Text5. Both references must outlive
    // the dialog, which is why the main window is its parent.
    Bonkopf(const QString &programmordner, Kopfzeilen &kopfzeile, int &bonImageNr,
            QWidget *hauptfenster);

    // 4800 x 3735 twips from the main window's top-left corner.
    static constexpr int kAbstandX = 4800;
    static constexpr int kAbstandY = 3735;

private:
    void uebernehmen();

    QString m_pfad;
    Kopfzeilen &m_kopfzeile;
    int &m_bonImageNr;
    std::array<QLineEdit *, 5> m_text{};   // Text1..Text4
    QLineEdit *m_logo = nullptr;
};

} // namespace zanti
