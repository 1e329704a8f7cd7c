#pragma once
// The ESC/POS commands of the register: every command byte the program sends
// to the printer is written here and nowhere else.
#include <QByteArray>

namespace zanti::escpos {

// Prefix bytes, also used by the decoder of the virtual printer.
inline constexpr char kLF = 10;
inline constexpr char kHT = 9;
inline constexpr char kESC = 27;
inline constexpr char kGS = 29;
inline constexpr char kFS = 28;
inline constexpr char kDLE = 16;
inline constexpr char kDC4 = 20;

// Layouts are 42 characters wide, prices start at the tab stop at column 35.
inline constexpr int kZeilenBreite = 42;
inline constexpr int kTabulatorSpalte = 35;

// LF (10): print the line and advance one line.
inline QByteArray LF() { return QByteArray(1, kLF); }

// HT (9): move to the next tab position.
inline QByteArray HT() { return QByteArray(1, kHT); }

// ESC @ (27 64): initialise; sent at start-up only.
inline QByteArray Initialisieren() { return QByteArray("\x1b\x40", 2); }

// ESC D 35 NUL (27 68 35 0): one tab position at column 35.
inline QByteArray TabulatorSetzen() { return QByteArray("\x1b\x44\x23\x00", 4); }

// GS a 15 (29 97 15): Automatic Status Back for status bits 0 to 3.
inline QByteArray StatusAutomatikEin() { return QByteArray("\x1d\x61\x0f", 3); }

// FS p n 48 (28 112 n 48): stored logo n, normal size. A number outside
// 1..255 cannot go out as one byte, so nothing is sent for it.
inline QByteArray Logo(int n)
{
    if (n < 1 || n > 255)
        return {};
    QByteArray b("\x1c\x70", 2);
    b.append(static_cast<char>(n));
    b.append('0');
    return b;
}

// ESC a 48 / 49 / 50: left, centred, right.
inline QByteArray Linksbuendig() { return QByteArray("\x1b\x61\x30", 3); }
inline QByteArray Zentriert() { return QByteArray("\x1b\x61\x31", 3); }
inline QByteArray Rechtsbuendig() { return QByteArray("\x1b\x61\x32", 3); }

// GS ! 16 / GS ! 0: double-width and normal characters.
inline QByteArray DoppelteBreite() { return QByteArray("\x1d\x21\x10", 3); }
inline QByteArray NormaleBreite() { return QByteArray("\x1d\x21\x00", 3); }

// ESC d 4 (end of every receipt) and ESC d 5 (end of both reports).
inline QByteArray Vorschub4() { return QByteArray("\x1b\x64\x04", 3); }
inline QByteArray Vorschub5() { return QByteArray("\x1b\x64\x05", 3); }

// GS V 49 (29 86 49): partial cut.
inline QByteArray Schnitt() { return QByteArray("\x1d\x56\x31", 3); }

// DLE DC4 1 0 1 (16 20 1 0 1): pulse on drawer pin 2, opens the cash drawer.
inline QByteArray Schubladenimpuls() { return QByteArray("\x10\x14\x01\x00\x01", 5); }

// The printer's answer to GS a: status block 20 0 0 0 (ready). Only the
// virtual printer sends it; the register reads the first byte.
inline QByteArray StatusBereit() { return QByteArray("\x14\x00\x00\x00", 4); }

// The status block of a printer in trouble, as the virtual printer plays it:
// offline with the cover open (60 0 0 0) or with no paper (28 0 12 0), or
// offline alone (28 0 0 0).
inline QByteArray Statusblock(bool offline, bool deckelOffen, bool papierLeer)
{
    QByteArray b(4, '\0');
    b[0] = char(0x14 | (offline || deckelOffen || papierLeer ? 0x08 : 0) | (deckelOffen ? 0x20 : 0));
    b[2] = char(papierLeer ? 0x0C : 0);
    return b;
}

} // namespace zanti::escpos
