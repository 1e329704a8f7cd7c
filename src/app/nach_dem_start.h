#pragma once
// What the program entry adds once the register's window is up: full screen
// for the stand PC, and the note where a new program folder was made.
#include <QString>

namespace zanti {

// Takes effect on the event loop's first turn, over the window "Kasse".
void NachDemStart(bool vollbild, const QString &hinweis);

} // namespace zanti
