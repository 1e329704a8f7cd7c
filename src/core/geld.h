#pragma once
// Money and numbers as the register shows them: German decimal comma, exact to
// the cent. Amounts are whole cents in a 64-bit integer, never binary floats.
#include <QString>
#include <optional>

namespace zanti {

using Cent = qint64;

// The largest amount the register books, reads or sums: 1.000.000.000,00.
// A stand price is a few euros and a whole event's takings far below this,
// yet any two amounts within it add without leaving 64 bits. A larger price
// is refused like one that is no number.
constexpr Cent kHoechstbetrag = 100'000'000'000;

// Reads a number typed by a person or stored in a file: "2,5", "2.5", "2,50",
// " 3 ", "-1,5", "1.234,50". The result is in hundredths, rounded half away
// from zero. Anything else (empty, "Unbekannt", two commas) is no number, and
// so is an amount beyond kHoechstbetrag either way.
std::optional<Cent> BetragLesen(const QString &text);

// The amount of a line: price times quantity, multiplied with every decimal
// the texts hold and rounded to the cent once (0,333 x 3 = 1,00). Nothing
// when either is no number or the product passes kHoechstbetrag.
std::optional<Cent> ZeilenBetrag(const QString &preis, const QString &anzahl);

// summe + betrag, or nothing when either or the result passes kHoechstbetrag.
std::optional<Cent> SummeAddieren(Cent summe, Cent betrag);

// "###0.00": at least one digit, a comma, exactly two decimals, no thousands
// separator: 0,50  1234,50  -5,00.
QString BetragFormat(Cent betrag);

// The general number format of a count or sum given in hundredths: as short
// as possible, 12  2,5  3,3  0.
QString ZahlAllgemein(Cent hundertstel);

// A whole number as a 16-bit setting is read ("3", " 1 ", "2,5" -> 2, halves
// to even); empty when the text is no number or does not fit.
std::optional<int> GanzzahlLesen(const QString &text);

} // namespace zanti
