#include "persistence/verkauf.h"

#include "core/bon_zeile.h"
#include "core/tasten.h"
#include "core/text_helfer.h"
#include "persistence/datei.h"

#include <QByteArrayView>

#include <cstring>

namespace zanti {

namespace {

constexpr int kVerkaufPuffer = 40;

const QString kZeilenende = QStringLiteral("\r\n");

QString Tastenschluessel(int i)
{
    return QStringLiteral("Taste") + QString::number(i);
}

// Texts from a row or a key never split a protocol line, so every line of
// the file stays one booking and the numbering after a restart holds.
QString Einzeilig(const QString &text)
{
    return IniTextBereinigen(text);
}

// Every LF has its CR before it and every CR its LF after it. A season's
// protocol is megabytes: the line ends are looked up, not every byte.
bool NurCrLf(QByteArrayView text)
{
    if (text.isEmpty())
        return true;
    const char *const anfang = text.data();
    const char *const ende = anfang + text.size();
    for (const char *lf = anfang; (lf = static_cast<const char *>(std::memchr(lf, '\n', size_t(ende - lf)))); ++lf) {
        if (lf == anfang || lf[-1] != '\r')
            return false;
    }
    return JedesCrVorLf(text);
}

} // namespace

bool JedesCrVorLf(QByteArrayView text)
{
    // An empty text has no data pointer, and memchr must not see one.
    if (text.isEmpty())
        return true;
    const char *const anfang = text.data();
    const char *const ende = anfang + text.size();
    for (const char *cr = anfang; (cr = static_cast<const char *>(std::memchr(cr, '\r', size_t(ende - cr)))); ++cr) {
        if (cr + 1 == ende || cr[1] != '\n')
            return false;
    }
    return true;
}

QByteArray ProtokollZeilenenden(const QByteArray &datei)
{
    const qsizetype n = datei.size();
    if (n == 0 || (datei.endsWith("\r\n") && NurCrLf(datei)))
        return datei;

    // Built in one pass: a season's protocol must load at once.
    QByteArray text;
    text.reserve(n + n / 8 + 2);
    qsizetype zeilenAnfang = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = datei[i];
        if (c != '\r' && c != '\n')
            continue;
        text.append(QByteArrayView(datei).sliced(zeilenAnfang, i - zeilenAnfang));
        text.append("\r\n");
        if (c == '\r' && i + 1 < n && datei[i + 1] == '\n')
            ++i;
        zeilenAnfang = i + 1;
    }
    if (zeilenAnfang < n) {
        text.append(QByteArrayView(datei).sliced(zeilenAnfang));
        text.append("\r\n");
    }
    return text;
}

QString ProtokollVerkaufsZeile(qint32 nr, const QTime &zeit, const QString &anzahl,
                               const QString &artikel, Cent betrag)
{
    return QString::number(nr) + u' ' + ZeitText(zeit) + QStringLiteral("  ") + Einzeilig(anzahl)
        + QStringLiteral(" x ") + Einzeilig(artikel) + QStringLiteral("   ") + BetragFormat(betrag)
        + kZeilenende;
}

QString ProtokollStornoZeile(const BonZeile &zeile, const QTime &zeit)
{
    return QString::number(zeile.BonId) + u' ' + ZeitText(zeit) + QStringLiteral("  ")
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
