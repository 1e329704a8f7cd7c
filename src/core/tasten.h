#pragma once
// The register's 35 article keys and what it keeps per key. Arrays per key
// have always run from 0 to 40 and are used from 1 (key n is element n); in
// the sales counts element 36 carries the takings.
#include "core/geld.h"

#include <QString>
#include <array>

namespace zanti {

inline constexpr int kArtikelTasten = 35;
inline constexpr int kEinnahmen = 36;

template<typename T>
using JeTaste = std::array<T, 41>;

// Units sold per key 1..35 in hundredths (so that counts stay exact, like
// money), and the takings in element 36.
using Verkaufszahlen = JeTaste<Cent>;

} // namespace zanti
