#include "persistence/tasten_layout.h"

namespace zanti {

namespace {



const QString kArtikel = QStringLiteral("Artikel");
const QString kPreise = QStringLiteral("Preise");
const QString kFarben = QStringLiteral("Farben");

QString Schluessel(const char *wort, int i)
{
    return QLatin1String(wort) + QString::number(i);
}

} // namespace

TastenLayout TastenLayoutLesen(const IniDatei &ini, int puffer)
{
    TastenLayout layout;
    for (int i = 1; i <= kArtikelTasten; ++i) {
        layout.ArtikelText[i] = ini.lesen(kArtikel, Schluessel("Getraenke", i), puffer);
        layout.ArtikelPreis[i] = ini.lesen(kPreise, Schluessel("Preis", i), puffer);
        layout.ArtikelFarbe[i] = ini.lesen(kFarben, Schluessel("Farbe", i), puffer);
    }
    return layout;
}

void TastenLayoutSchreiben(IniDatei &ini, TastenLayout &layout)
{
    for (int i = 1; i <= kArtikelTasten; ++i)
        ini.schreiben(kArtikel, Schluessel("Getraenke", i), layout.ArtikelText[i]);
    for (int i = 1; i <= kArtikelTasten; ++i) {
        QString &preis = layout.ArtikelPreis[i];
        ini.schreiben(kPreise, Schluessel("Preis", i), preis.isEmpty() ? QStringLiteral(" ") : preis);
        if (preis == u" ")
            preis.clear();
    }
    for (int i = 1; i <= kArtikelTasten; ++i)
        ini.schreiben(kFarben, Schluessel("Farbe", i), layout.ArtikelFarbe[i]);
}

} // namespace zanti
