#pragma once
// Text conversions between the register and the outside world: the files are
// Windows-1252, the printer speaks code page 437.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace zanti {

// Windows-1252 bytes to text and back. Characters that Windows-1252 cannot
// hold become '?'.
QString Cp1252Lesen(const QByteArray &bytes);
QByteArray Cp1252Schreiben(const QString &text);

// The characters of text that Windows-1252 has no place for (they would be
// stored and printed as '?'), each once, in the order they first come; a
// character beyond the basic plane as a whole.
QStringList NichtCp1252(const QString &text);

// Printer bytes of a text: Ä Ö Ü ä ö ü ß become their code-page-437 bytes,
// every other character is sent as its Windows-1252 byte.
QByteArray UmlauteWandeln(const QString &text);

// A value for an INI file: CR, LF, NUL and the Unicode line and paragraph
// separators are dropped, so no typed text can start a new key or section.
// Every other character stays.
QString IniTextBereinigen(const QString &text);

// The German time and date of receipts, reports and the status bar:
// 14:05:09 and 07.12.2026.
QString ZeitText(const QTime &zeit);
QString DatumText(const QDate &datum);

} // namespace zanti
