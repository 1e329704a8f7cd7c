#pragma once
// German messages with one OK button. The box is window-modal through open()
// (never exec(): no nested event loop); what must happen after OK goes into
// nachOk. Tests put a recorder in place of the box.
#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace zanti {

using NachOk = std::function<void()>;
using MeldungsAnzeige =
    std::function<void(QWidget *eltern, const QString &text, const QString &titel, NachOk nachOk)>;

// An empty title means the program's own name.
void Meldung(QWidget *eltern, const QString &text, const QString &titel = {}, NachOk nachOk = {});
void Piep();

// The box Meldung opens, built but not shown: text, button and font sized
// for fingers with the register's factor.
QMessageBox *Meldungsfenster(QWidget *eltern, const QString &text, const QString &titel);

// Replaces the message box (tests); an empty function restores it.
void MeldungsAnzeigeSetzen(MeldungsAnzeige anzeige);

} // namespace zanti
