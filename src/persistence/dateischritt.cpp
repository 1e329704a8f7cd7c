#include "persistence/dateischritt.h"

namespace zanti {

namespace {

Schrittbeobachter g_beobachter = nullptr;

} // namespace

void DateischrittMelden(const char *schritt)
{
    if (g_beobachter)
        g_beobachter(schritt);
}

void DateischrittBeobachterSetzen(Schrittbeobachter beobachter)
{
    g_beobachter = beobachter;
}

} // namespace zanti
