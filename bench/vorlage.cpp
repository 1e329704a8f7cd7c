#include "vorlage.h"

#include "persistence/einstellungen.h"
#include "persistence/tasten_layout.h"
#include "persistence/verkauf.h"

#include <functional>

namespace zanti::bench {

namespace {

const char *const kArtikel[35] = {
    "Bier 0,3l", "Bier 0,5l", "Radler", "Weizen", "Cola", "Fanta", "Spezi", "Wasser",
    "Apfelschorle", "Orangensaft", "Rotwein", "Weißwein", "Sekt", "Kaffee", "Tee",
    "Kakao", "Bratwurst", "Currywurst", "Pommes", "Schnitzel", "Brezel", "Steak",
    "Käsebrot", "Kuchen", "Salat", "Waffel", "Eis", "Nachos", "Popcorn", "Schnaps",
    "Likör", "Glühwein", "Pfand", "Losnummer", "Spende"};

Cent Preis(int taste)
{
    return 150 + (taste * 37 % 12) * 50; // 1,50 .. 7,00
}

QByteArray IniInhalt(const std::function<void(IniDatei &)> &fuellen)
{
    // A path that never exists: only the bytes are wanted.
    IniDatei ini = IniDatei::Laden(QStringLiteral("/nonexistent/zanti-bench.ini"));
    fuellen(ini);
    return ini.inhalt();
}

} // namespace

Vorlage::Vorlage(int protokollZeilen)
{
    kasse = IniInhalt([](IniDatei &ini) {
        TastenLayout layout;
        for (int i = 1; i <= 35; ++i) {
            layout.ArtikelText[i] = QString::fromUtf8(kArtikel[i - 1]);
            layout.ArtikelPreis[i] = BetragFormat(Preis(i));
            layout.ArtikelFarbe[i] = QString::number(i % 2 ? 8454143 : 16777088);
        }
        TastenLayoutSchreiben(ini, layout);
    });
    verkauf = IniInhalt([](IniDatei &ini) {
        std::array<Cent, 41> verkauft{};
        for (int i = 1; i <= 35; ++i)
            verkauft[i] = (1000 / i) * 100;
        verkauft[36] = 2345650; // takings
        VerkaufszahlenSchreiben(ini, verkauft);
    });
    bonkopf = IniInhalt([](IniDatei &ini) {
        KopfzeilenSchreiben(ini, {QString(), u"Sportverein Musterdorf e.V."_qs,
                                  u"Sommerfest 2026"_qs, u"Festwiese am Sportplatz"_qs,
                                  u"Vielen Dank!"_qs});
    });
    // Newest line first, as the register keeps it.
    QString text;
    text.reserve(qsizetype(protokollZeilen) * 40);
    for (int nr = protokollZeilen - 1; nr >= 0; --nr) {
        const int taste = 1 + nr % 35;
        const int menge = 1 + nr % 3;
        text += ProtokollVerkaufsZeile(nr, QTime(10, 0).addSecs(nr % 36000),
                                       QString::number(menge),
                                       QString::fromUtf8(kArtikel[taste - 1]),
                                       menge * Preis(taste));
    }
    protokoll = ProtokollDateiInhalt(text);
}

QByteArray Vorlage::Einstellungsdatei(bool drucker)
{
    return IniInhalt([drucker](IniDatei &ini) {
        EinstellungenSchreiben(ini, {QString(), drucker ? u"1"_qs : u"0"_qs, u"0"_qs, u"0"_qs,
                                     u"geheim"_qs, u"0"_qs, u"1"_qs, u"1"_qs, u"0"_qs,
                                     u"0"_qs});
    });
}

void Vorlage::anlegen(const test::Programmordner &ordner, bool drucker) const
{
    ordner.schreiben(u"kasse.ini"_qs, kasse);
    ordner.schreiben(u"verkauf.ini"_qs, verkauf);
    ordner.schreiben(u"bonkopf.ini"_qs, bonkopf);
    ordner.schreiben(u"protokoll.txt"_qs, protokoll);
    ordner.schreiben(u"Einstellungen.ini"_qs, Einstellungsdatei(drucker));
}

} // namespace zanti::bench
