#pragma once
// How the forwarder paces itself. The register keeps these defaults; a test
// that stops and starts its server a hundred times takes shorter pauses.

namespace zanti {

struct WeiterleitungsOptionen
{
    int stapel = 500;            // receipts (and voids) per batch
    int antwortFristMs = 10000;  // a server silent this long counts as gone
    int verbindungsFristS = 3;   // libpq's connect_timeout
    int pauseMinMs = 1000;       // pause before the next attempt, doubling
    int pauseMaxMs = 30000;
    int nachsehenMs = 2000;      // looks at the journal this often unwoken
};

} // namespace zanti
