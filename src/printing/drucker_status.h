#pragma once
// The printer's automatic status report (switched on by GS a 15): blocks of
// four bytes the printer sends by itself whenever its state changes, and in
// answer to GS a.
//   byte 1: bit 4 always set, bits 0, 1 and 7 clear; bit 2 drawer sensor,
//           bit 3 offline, bit 5 cover open, bit 6 paper fed by the button
//   byte 2: bits 4 and 7 clear (which tells it from a byte 1); bit 3 cutter
//           error, bit 5 unrecoverable error, bit 6 recoverable error
//   byte 3: bits 0-1 paper near its end, bits 2-3 paper ended
//   byte 4: nothing the register needs
#include <QByteArray>
#include <QString>

namespace zanti {

struct Druckerstatus
{
    int erstesByte = 0x14;
    bool offline = false;
    bool deckelOffen = false;
    bool fehler = false;      // cutter, recoverable or unrecoverable error
    bool papierFastLeer = false;
    bool papierLeer = false;

    // Whether a receipt sent now would come out of the printer.
    bool kannDrucken() const { return !offline && !deckelOffen && !fehler && !papierLeer; }
};

// Reads the report from whatever arrives, in pieces or several blocks at
// once; bytes that fit no block are skipped until the next byte 1.
class StatusLeser
{
public:
    void einspeisen(const QByteArray &bytes);
    const Druckerstatus &stand() const { return m_stand; }
    // Back to "ready": a freshly opened printer is taken to be ready until
    // it says otherwise.
    void zuruecksetzen() { *this = StatusLeser(); }

private:
    Druckerstatus m_stand;
    int m_position = 0; // of the next byte within the block; 0 = waiting for a byte 1
};

// Panel 8: the text for the first byte ("Drucker bereit ", " Papier ? ", ...,
// else the number), followed by " Papier leer " when the paper has ended.
QString DruckerStatusText(int erstesByte);
QString DruckerStatusText(int erstesByte, const Druckerstatus &stand);

} // namespace zanti
