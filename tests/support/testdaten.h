#pragma once
// Small builders the tests share: printer bytes written as numbers, file
// contents and receipt lines.
#include "core/text_helfer.h"
#include "core/bon_zeile.h"

#include <QByteArray>
#include <QStringList>
#include <initializer_list>

namespace zanti::test {

inline QByteArray Bytes(std::initializer_list<int> werte)
{
    QByteArray b;
    for (int w : werte)
        b.append(static_cast<char>(w));
    return b;
}

// What a printer sees of the register, written out as the numbers a test
// compares against: the start-up commands, switching the printer on, the
// drawer pulse and the cut.
inline const QByteArray kStart = Bytes({27, 64, 29, 97, 15, 27, 68, 35, 0});
inline const QByteArray kEinschalten = Bytes({27, 68, 35, 0, 29, 97, 15});
inline const QByteArray kSchublade = Bytes({16, 20, 1, 0, 1});
inline const QByteArray kSchnitt = Bytes({29, 86, 49});

// Windows-1252 lines, each ended with CR LF: a file as the register keeps it.
inline QByteArray Zeilen(const QStringList &zeilen)
{
    QByteArray bytes;
    for (const QString &z : zeilen)
        bytes += Cp1252Schreiben(z) + "\r\n";
    return bytes;
}

inline BonZeile Zeile(const QString &anzahl, const QString &artikel, const QString &preis,
                      int taste = 1, qint32 bonId = 1)
{
    BonZeile z;
    z.Anzahl = anzahl;
    z.Artikel = artikel;
    z.Preis = preis;
    z.Tastennr = taste;
    z.BonId = bonId;
    return z;
}

} // namespace zanti::test
