#pragma once
// Running the register as a program.
#include <QString>

class QApplication;

namespace zanti {

struct Programmversion;

// Takes the program folder for this run, creates the register window
// maximised and runs the program until it ends. A folder another register
// works in is refused with a message, before any file is touched.
int KasseAusfuehren(QApplication &app, const QString &programmordner,
                    const Programmversion &version);

} // namespace zanti
