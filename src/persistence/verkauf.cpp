#include "persistence/verkauf.h"

#include "core/bon_zeile.h"
#include "core/tasten.h"
#include "core/text_helfer.h"
#include "persistence/datei.h"

namespace zanti {

namespace {


constexpr int kVerkaufPuffer = 40;

const QString kZeilenende = QStringLiteral("\r\n");

QString Tastenschluessel(int i)
{
    return QStringLiteral("Taste") + QString::number(i);
}

QString Uhrzeit(const QTime &zeit)
{
    return zeit.toString(QStringLiteral("hh:mm:ss"));
}

// Texts from a row or a key never split a protocol line, so every line of
// the file stays one booking and the numbering after a restart holds.
QString Einzeilig(const QString &text)
{
    return IniTextBereinigen(text);
}

} // namespace

Protokolldatei ProtokollLesen(const QString &pfad)
{
    Protokolldatei protokoll;
    const std::optional<QByteArray> bytes = DateiLesen(pfad);
    if (!bytes || bytes->isEmpty())
        return protokoll;

    // Built in one pass: tens of thousands of lines must load at once.
    const QString roh = Cp1252Lesen(*bytes);
    QString &text = protokoll.text;
    text.reserve(roh.size() + roh.size() / 8 + 2);
    const qsizetype n = roh.size();
    qsizetype zeilenAnfang = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = roh.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        text.append(QStringView(roh).mid(zeilenAnfang, i - zeilenAnfang));
        text.append(kZeilenende);
        ++protokoll.zeilen;
        if (c == u'\r' && i + 1 < n && roh.at(i + 1) == u'\n')
            ++i;
        zeilenAnfang = i + 1;
    }
    if (zeilenAnfang < n) {
        text.append(QStringView(roh).mid(zeilenAnfang));
        text.append(kZeilenende);
        ++protokoll.zeilen;
    }
    return protokoll;
}

QByteArray ProtokollDateiInhalt(const QString &protokollText)
{
    // Every line of the text already ends in CR LF. One more would come back
    // as an empty line at the next start and move the numbering on by one,
    // run after run.
    if (protokollText.isEmpty() || protokollText.endsWith(kZeilenende))
        return Cp1252Schreiben(protokollText);
    return Cp1252Schreiben(protokollText + kZeilenende);
}

QString ProtokollVerkaufsZeile(qint32 nr, const QTime &zeit, const QString &anzahl,
                               const QString &artikel, Cent betrag)
{
    return QString::number(nr) + u' ' + Uhrzeit(zeit) + QStringLiteral("  ") + Einzeilig(anzahl)
        + QStringLiteral(" x ") + Einzeilig(artikel) + QStringLiteral("   ") + BetragFormat(betrag)
        + kZeilenende;
}

QString ProtokollStornoZeile(const BonZeile &zeile, const QTime &zeit)
{
    return QString::number(zeile.BonId) + u' ' + Uhrzeit(zeit) + QStringLiteral("  ")
        + Einzeilig(zeile.Anzahl) + QStringLiteral(" x ") + Einzeilig(zeile.Artikel)
        + QStringLiteral("   -") + Einzeilig(zeile.Preis) + QStringLiteral(" Storno") + kZeilenende;
}

Verkaufszahlen VerkaufszahlenLesen(const IniDatei &ini)
{
    Verkaufszahlen verkauft{};
    for (int i = 1; i <= kEinnahmen; ++i) {
        const QString wert = ini.lesen(QStringLiteral("verkauft"), Tastenschluessel(i), kVerkaufPuffer);
        verkauft[i] = BetragLesen(wert).value_or(0);
    }
    return verkauft;
}

void VerkaufszahlenSchreiben(IniDatei &ini, const Verkaufszahlen &verkauft)
{
    for (int i = 1; i <= kEinnahmen; ++i)
        ini.schreiben(QStringLiteral("verkauft"), Tastenschluessel(i), ZahlAllgemein(verkauft[i]));
}

} // namespace zanti
