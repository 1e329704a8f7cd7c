#include "model/tasten_ansicht.h"

#include <limits>

namespace zanti {

std::optional<qint64> Farbnummer(const QString &text)
{
    bool ok = false;
    const qint64 nummer = text.trimmed().toLongLong(&ok);
    if (!ok || nummer < std::numeric_limits<qint32>::min() || nummer > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return nummer;
}

JeTaste<TastenAnsicht> ArtikelTastenAnsicht(const TastenLayout &tasten, bool einstellmodus)
{
    JeTaste<TastenAnsicht> ansicht{};
    bool gefaerbt = true;
    for (int i = 1; i <= kArtikelTasten; ++i) {
        TastenAnsicht &t = ansicht[i];
        t.beschriftung = tasten.ArtikelText[i] + u'\n' + tasten.ArtikelPreis[i];
        if (einstellmodus)
            t.aktiv = true;
        else if (tasten.ArtikelPreis[i].isEmpty())
            t.aktiv = false;
        if (gefaerbt)
            t.farbe = Farbnummer(tasten.ArtikelFarbe[i]);
        gefaerbt = gefaerbt && t.farbe.has_value();
    }
    return ansicht;
}

} // namespace zanti
