#pragma once
// Every step that puts data on disk (a file written, synced, renamed, the
// folder synced, a database transaction committed) is announced here. The
// program itself does nothing with it; the power-cut trials stop the
// process at one chosen step to prove that any instant leaves a state the
// next start can repair.
namespace zanti {

using Schrittbeobachter = void (*)(const char *schritt);

void DateischrittMelden(const char *schritt);
// nullptr: nobody listens (the normal case).
void DateischrittBeobachterSetzen(Schrittbeobachter beobachter);

} // namespace zanti
