#include "core/text_helfer.h"

#include <array>

namespace zanti {

namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252 (0 = unused).
constexpr std::array<char16_t, 32> kCp1252Oben = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char Cp1252Byte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    // The five bytes Windows-1252 leaves open were read as U+0081 and the
    // like; they go back as they came, so a hand-edited file keeps them.
    if (u < 0xA0 && kCp1252Oben[u - 0x80] == 0)
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252Oben[i] != 0 && kCp1252Oben[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Calls f for every character of the text; a character beyond the basic
// plane (two UTF-16 units) arrives once, as '?', so it gives one byte.
template<typename F>
void JedesZeichen(const QString &text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            f(QChar(u'?'));
            ++i;
        } else {
            f(c);
        }
    }
}

} // namespace

QString Cp1252Lesen(const QByteArray &bytes)
{
    // Written in place: a protocol of 30,000 lines passes through here.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *ziel = text.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *ziel++ = (u >= 0x80 && u < 0xA0 && kCp1252Oben[u - 0x80] != 0) ? QChar(kCp1252Oben[u - 0x80])
                                                                         : QChar(u);
    }
    return text;
}

QByteArray Cp1252Schreiben(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *ziel = bytes.data();
    JedesZeichen(text, [&ziel](QChar c) {
        const char16_t u = c.unicode();
        *ziel++ = (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) ? static_cast<char>(u) : Cp1252Byte(c);
    });
    bytes.truncate(ziel - bytes.constData());
    return bytes;
}

QStringList NichtCp1252(const QString &text)
{
    QStringList zeichen;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        QString eines(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            eines += text.at(++i);
        else if (c == u'?' || Cp1252Byte(c) != '?')
            continue;
        if (!zeichen.contains(eines))
            zeichen << eines;
    }
    return zeichen;
}

QByteArray UmlauteWandeln(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    JedesZeichen(text, [&bytes](QChar c) {
        switch (c.unicode()) {
        case u'Ä': bytes.append(char(142)); break;
        case u'Ö': bytes.append(char(153)); break;
        case u'Ü': bytes.append(char(154)); break;
        case u'ä': bytes.append(char(132)); break;
        case u'ö': bytes.append(char(148)); break;
        case u'ü': bytes.append(char(129)); break;
        case u'ß': bytes.append(char(225)); break;
        default: bytes.append(Cp1252Byte(c)); break;
        }
    });
    return bytes;
}

QString IniTextBereinigen(const QString &text)
{
    QString sauber;
    sauber.reserve(text.size());
    for (QChar c : text) {
        // Only what could end a line: a TAB in a password or a byte a
        // hand-edited file holds survives the save.
        const char16_t u = c.unicode();
        if (u != u'\r' && u != u'\n' && u != 0 && u != 0x2028 && u != 0x2029)
            sauber.append(c);
    }
    return sauber;
}

QString ZeitText(const QTime &zeit)
{
    return zeit.toString(QStringLiteral("hh:mm:ss"));
}

QString DatumText(const QDate &datum)
{
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace zanti
