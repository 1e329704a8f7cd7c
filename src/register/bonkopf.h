#pragma once
// The dialog "Bonkopfeinstellung": the four receipt head lines and the logo
// number. It never blocks the register: shown non-modal, it hands the new
// lines and logo number over at "OK"; closed, it is deleted.
#include "model/kassen_zustand.h"

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class QLineEdit;

namespace zanti {

class Bonkopf : public QWidget
{
    Q_OBJECT

public:
    // Lines 1..4 of kopfzeile fill Text1..Text4, bonImageNr fills Text5.
    Bonkopf(const Kopfzeilen &kopfzeile, int bonImageNr, QWidget *hauptfenster);

    // The answer to uebernommen: nothing closes the dialog, a message is
    // shown over it and the dialog stays.
    void beantworten(const std::optional<QString> &fehler);

    // 4800 x 3735 twips from the main window's top-left corner.
    static constexpr int kAbstandX = 4800;
    static constexpr int kAbstandY = 3735;

signals:
    // The lines and the logo number as typed; whoever stores them answers.
    void uebernommen(const Kopfzeilen &kopfzeile, const QString &logo);

private:
    std::array<QLineEdit *, 5> m_text{};   // Text1..Text4
    QLineEdit *m_logo = nullptr;
};

} // namespace zanti
