#pragma once
// Reads the ESC/POS byte stream of the register back into plain text, as the
// paper of a 42-column receipt printer would show it. Used by the virtual
// printer and by the tests.
//
// How the paper is rendered:
// - one QString per printed line; a receipt is its lines joined with "\n";
//   GS V (cut) completes a receipt. Trailing blanks of a line are dropped.
// - ESC a 0/1/2 (or 48/49/50) aligns a line left, centred or right over 42
//   columns; the alignment in force when the line's first character arrives
//   counts. Lines longer than 42 columns are kept whole (a real printer would
//   wrap them).
// - HT moves to the next tab stop (ESC D; default every 8 columns after
//   ESC @); past the last stop it is ignored, as on a real printer.
// - GS ! with a width factor > 1 (GS ! 16 = double width): each character is
//   followed by one blank per extra column by default ("2 x   C o l a"), so
//   alignment looks as on paper. With setBreitGesperrt(false) the text stays
//   as it is ("2x Cola") while still counting double for the alignment.
// - bytes 32..126 are ASCII, 128..255 code page 437 (ä = 132 and so on).
// - FS p n m prints the line "[Logo n]".
// - LF prints the line; ESC d n prints the line and feeds n lines, i.e.
//   n empty lines when nothing was pending, else the line and n - 1 empty ones.
// - ESC @ resets modes and drops the unprinted line; it is counted.
// - GS a n (status request) and DLE DC4 1 m t (drawer pulse) are counted.
// - Anything else is counted as unknown and dropped (a command byte and the
//   byte after it; a lone control byte alone).
// A command may arrive split over several calls of einspeisen().
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class EscPosDecoder
{
public:
    EscPosDecoder();

    void einspeisen(const QByteArray &bytes);

    // The receipts completed by a cut since the last call, oldest first.
    QStringList fertigeBons();
    int anzahlFertigeBons() const { return int(m_fertig.size()); }
    // Lines printed since the last cut, including the unprinted one.
    QString offenerBon() const;

    int schubladenImpulse() const { return m_impulse; }
    int statusAnfragen() const { return m_statusAnfragen; }
    int letzteStatusGruppe() const { return m_letzteStatusGruppe; }
    int initialisierungen() const { return m_init; }
    int unbekannteBytes() const { return m_unbekannt; }
    // Logo numbers in the order they were printed.
    QList<int> logos() const { return m_logos; }

    void setBreitGesperrt(bool gesperrt) { m_gesperrt = gesperrt; }

    // A text as double-width characters appear by default: "Cola" -> "C o l a ".
    static QString gesperrt(const QString &text);
    // Code page 437 byte to text.
    static QChar cp437(unsigned char b);

private:
    enum class Ausrichtung { Links, Mitte, Rechts };

    // Handles the command at m_rest[pos]; returns its length, or 0 when the
    // command is not complete yet.
    qsizetype befehl(qsizetype pos);
    void zeichen(QChar c);
    void tabulator();
    void zeileDrucken();
    QString zeileGesetzt() const;
    void zuruecksetzen();
    void schneiden();

    QByteArray m_rest;
    QStringList m_zeilen;
    QStringList m_fertig;
    QString m_zeile;
    int m_spalte = 0;
    bool m_zeileBegonnen = false;
    Ausrichtung m_ausrichtung = Ausrichtung::Links;
    Ausrichtung m_zeilenAusrichtung = Ausrichtung::Links;
    int m_breite = 1;
    bool m_gesperrt = true;
    QList<int> m_tabs;

    int m_impulse = 0;
    int m_statusAnfragen = 0;
    int m_letzteStatusGruppe = -1;
    int m_init = 0;
    int m_unbekannt = 0;
    QList<int> m_logos;
};
