#pragma once
// INI files as the register has always kept them: Windows-1252, CR LF,
// "[Abschnitt]" and "Schluessel=Wert" lines. Names are compared without case,
// blanks (and one pair of enclosing quotes) around a value are dropped, a
// value is cut to the buffer size - 1. Writing replaces a key in place, puts
// a new key at the end of its section and a new section at the end of the
// file, and leaves every other line alone.
//
// A file is read once, changed in memory and saved atomically in one go.
#include <QHash>
#include <QString>
#include <QStringList>

namespace zanti {

inline const QString kUnbekannt = QStringLiteral("Unbekannt");

class IniDatei
{
public:
    // A missing or unreadable file gives an empty one.
    static IniDatei Laden(const QString &pfad);
    // The same from bytes already read; pfad is where it will be saved.
    static IniDatei AusBytes(const QString &pfad, const QByteArray &bytes);

    // The value, at most puffer - 1 characters; "Unbekannt" when the
    // section or the key is missing.
    QString lesen(const QString &abschnitt, const QString &schluessel, int puffer) const;

    // Line breaks never reach the file.
    void schreiben(const QString &abschnitt, const QString &schluessel, const QString &wert);

    QByteArray inhalt() const;
    // Atomic save; false when the file could not be written.
    bool speichern() const;

    const QString &pfad() const { return m_pfad; }

private:
    qsizetype abschnittZeile(const QString &abschnitt) const;
    qsizetype schluesselZeile(qsizetype abschnitt, const QString &schluessel) const;
    void zeilenVerschoben();

    QString m_pfad;
    QStringList m_zeilen;
    // Where each section, and each key of a section looked into, first
    // stands (names case-folded); made on first use and dropped when a line
    // comes in. A key layout reads a hundred keys: without it each lookup
    // walked the file.
    mutable QHash<QString, qsizetype> m_abschnitte;
    mutable QHash<qsizetype, QHash<QString, qsizetype>> m_schluessel;
};

// One value read straight from a file, as the private-profile reader does.
QString IniLesen(const QString &pfad, const QString &abschnitt, const QString &schluessel,
                 int puffer);

} // namespace zanti
