#pragma once
// Running the register as a program.
#include <QString>

class QApplication;

namespace zanti {

struct Programmversion;

// Takes the program folder for this run, creates the register window
// maximised (full screen for a stand PC) and runs the program until it ends.
// A folder another register works in is refused with a message, before any
// file is touched. hinweis, when given, is shown over the window at once
// (where a new program folder was made).
int KasseAusfuehren(QApplication &app, const QString &programmordner, const Programmversion &version,
                    bool vollbild = false, const QString &hinweis = {});

} // namespace zanti
