#pragma once
// Pages of an A4 PDF in the making: a cursor that runs down the page,
// breaks to the next page where a block does not fit, tables with their
// header repeated after a break, and a foot line with "Seite n von m".
// Without a painter it only measures, so a first pass counts the pages.
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPdfWriter;

namespace zanti {

// The font of the statement: DejaVu Sans from the Debian package
// fonts-dejavu-core, loaded from its file so that no other font of the
// machine stands in. Empty when the file is missing.
QString StatementSchriftFamilie();

class PdfBlatt
{
public:
    PdfBlatt(QPdfWriter &writer, QPainter *painter, QString fusszeile, int seitenGesamt);

    qreal mm(qreal millimeter) const;
    QFont schrift(qreal punkte, bool fett = false) const;
    qreal zeilenhoehe(const QFont &schrift) const;
    qreal textbreite(const QFont &schrift, const QString &text) const;
    QRectF inhalt() const; // the printable area of a page
    QPainter *painter() const { return m_painter; }

    qreal y = 0; // where the next block begins
    // Breaks to a new page unless hoehe still fits below y.
    void platzFuer(qreal hoehe);
    void neueSeite();
    int seite() const { return m_seite; }
    void abschliessen(); // the foot line of the last page

    void text(const QRectF &rahmen, int flags, const QString &text, const QFont &schrift);
    // A heading with some space above it.
    void ueberschrift(const QString &text, qreal abstandDavor);

    struct Spalte
    {
        QString titel;
        qreal anteil; // of the content's width, as a share of all columns
        bool rechts;  // numbers are right-aligned
    };
    // A table; summe (may be empty) is the bold last row.
    void tabelle(const QString &titel, const QList<Spalte> &spalten, const QList<QStringList> &zeilen,
                 const QStringList &summe);

private:
    void fusszeile();
    void tabellenKopf(const QString &titel, const QList<Spalte> &spalten);
    void tabellenZeile(const QList<Spalte> &spalten, const QStringList &felder, bool fett, bool grau);

    QPdfWriter &m_writer;
    QPainter *m_painter;
    QString m_fusszeile;
    int m_seitenGesamt;
    int m_seite = 1;
};

} // namespace zanti
