#pragma once
// How the article keys look: caption, whether they act and their colour,
// from the key layout and the mode alone. The window only applies it.
#include "core/tasten.h"
#include "persistence/tasten_layout.h"

#include <QString>
#include <optional>

namespace zanti {

struct TastenAnsicht
{
    QString beschriftung;          // text, line break, price
    // Nothing here and below: the key keeps what it has.
    std::optional<bool> aktiv;
    std::optional<qint64> farbe;
};

// Keys 1..35. In set-up mode every key acts, so that the editor reaches it;
// otherwise a key without a price sells nothing and is locked, and a locked
// key with a price stays locked until set-up mode. A colour that is no
// number stops the colouring there: the keys after it keep theirs.
JeTaste<TastenAnsicht> ArtikelTastenAnsicht(const TastenLayout &tasten, bool einstellmodus);

// A key's colour text; nothing when it is no whole 32-bit number.
std::optional<qint64> Farbnummer(const QString &text);

} // namespace zanti
