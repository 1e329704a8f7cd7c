#pragma once
// The file dialog of the key-layout buttons, behind one function that tests
// can answer. The dialog opens without a nested event loop; the answer comes
// to nachWahl, an empty path meaning "cancelled".
#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace zanti {

// Ordner: a folder to write into (a USB stick), for the statement.
enum class Dateimodus { Oeffnen, Speichern, Ordner };

using NachWahl = std::function<void(const QString &pfad)>;
using Dateiauswahl = std::function<void(QWidget *eltern, Dateimodus modus, const QString &startordner,
                                        const QString &filter, NachWahl nachWahl)>;

void DateiWaehlen(QWidget *eltern, Dateimodus modus, const QString &startordner,
                  const QString &filter, NachWahl nachWahl);

// The dialog DateiWaehlen opens, built but not shown: sized for fingers with
// the register's factor.
QFileDialog *DateiFenster(QWidget *eltern, Dateimodus modus, const QString &startordner,
                         const QString &filter);

// Replaces the dialog (tests); an empty function restores it.
void DateiauswahlSetzen(Dateiauswahl auswahl);

} // namespace zanti
