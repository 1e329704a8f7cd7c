#include "abrechnung/pdf_blatt.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

namespace zanti {

namespace {

constexpr qreal kRandMm = 18;
constexpr qreal kFussMm = 10;

QString SchriftLaden()
{
    static const char *const ordner[] = {"/usr/share/fonts/truetype/dejavu/"};
    QString familie;
    for (const char *pfad : ordner) {
        for (const char *datei : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
            const QString voll = QString::fromLatin1(pfad) + QString::fromLatin1(datei);
            if (!QFile::exists(voll))
                continue;
            const QStringList familien = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(voll));
            if (!familien.isEmpty())
                familie = familien.first();
        }
    }
    return familie;
}

} // namespace

QString StatementSchriftFamilie()
{
    static const QString familie = SchriftLaden();
    return familie;
}

PdfBlatt::PdfBlatt(QPdfWriter &writer, QPainter *painter, QString fusszeile, int seitenGesamt)
    : m_writer(writer)
    , m_painter(painter)
    , m_fusszeile(std::move(fusszeile))
    , m_seitenGesamt(seitenGesamt)
{
    y = inhalt().top();
}

qreal PdfBlatt::mm(qreal millimeter) const
{
    return millimeter * m_writer.resolution() / 25.4;
}

QFont PdfBlatt::schrift(qreal punkte, bool fett) const
{
    QFont f(StatementSchriftFamilie());
    f.setPointSizeF(punkte);
    f.setBold(fett);
    // The same letters on every machine: no hinting, no substitute.
    f.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: "ff" stays two letters for a reader that copies the text.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
    return f;
}

qreal PdfBlatt::zeilenhoehe(const QFont &schrift) const
{
    return QFontMetricsF(schrift, &m_writer).height();
}

qreal PdfBlatt::textbreite(const QFont &schrift, const QString &text) const
{
    return QFontMetricsF(schrift, &m_writer).horizontalAdvance(text);
}

QRectF PdfBlatt::inhalt() const
{
    const qreal breite = m_writer.width(), hoehe = m_writer.height();
    // QPdfWriter's margins are zero: the page is ours to lay out.
    return QRectF(mm(kRandMm), mm(kRandMm), breite - 2 * mm(kRandMm), hoehe - mm(kRandMm) - mm(kRandMm + kFussMm));
}

void PdfBlatt::platzFuer(qreal hoehe)
{
    if (y + hoehe > inhalt().bottom())
        neueSeite();
}

void PdfBlatt::neueSeite()
{
    fusszeile();
    if (m_painter)
        m_writer.newPage();
    ++m_seite;
    y = inhalt().top();
}

void PdfBlatt::abschliessen()
{
    fusszeile();
}

void PdfBlatt::fusszeile()
{
    const QFont f = schrift(8);
    const QRectF rahmen(inhalt().left(), inhalt().bottom() + mm(kFussMm / 2), inhalt().width(), zeilenhoehe(f));
    if (m_painter) {
        m_painter->setPen(QPen(Qt::black, mm(0.2)));
        m_painter->drawLine(rahmen.topLeft(), rahmen.topRight());
    }
    text(rahmen.translated(0, mm(1)), Qt::AlignLeft | Qt::AlignVCenter, m_fusszeile, f);
    text(rahmen.translated(0, mm(1)), Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("Seite %1 von %2").arg(m_seite).arg(m_seitenGesamt), f);
}

void PdfBlatt::text(const QRectF &rahmen, int flags, const QString &inhaltText, const QFont &f)
{
    if (!m_painter)
        return;
    m_painter->setFont(f);
    m_painter->setPen(Qt::black);
    m_painter->drawText(rahmen, flags, inhaltText);
}

void PdfBlatt::ueberschrift(const QString &titel, qreal abstandDavor)
{
    const QFont f = schrift(13, true);
    // A heading never stands alone at the foot of a page.
    platzFuer(abstandDavor + zeilenhoehe(f) + 3 * zeilenhoehe(schrift(9)));
    if (y > inhalt().top())
        y += abstandDavor;
    text(QRectF(inhalt().left(), y, inhalt().width(), zeilenhoehe(f)), Qt::AlignLeft | Qt::AlignVCenter, titel, f);
    y += zeilenhoehe(f) + mm(1.5);
}

void PdfBlatt::tabellenKopf(const QString &titel, const QList<Spalte> &spalten)
{
    ueberschrift(titel, mm(7));
    QStringList kopf;
    for (const Spalte &s : spalten)
        kopf.append(s.titel);
    tabellenZeile(spalten, kopf, true, false);
    if (m_painter) {
        m_painter->setPen(QPen(Qt::black, mm(0.4)));
        m_painter->drawLine(QPointF(inhalt().left(), y), QPointF(inhalt().right(), y));
    }
}

void PdfBlatt::tabellenZeile(const QList<Spalte> &spalten, const QStringList &felder, bool fett, bool grau)
{
    const QFont f = schrift(9.5, fett);
    const qreal hoehe = zeilenhoehe(f) + mm(2);
    if (m_painter && grau)
        m_painter->fillRect(QRectF(inhalt().left(), y, inhalt().width(), hoehe), QColor(235, 235, 235));
    qreal gesamt = 0;
    for (const Spalte &s : spalten)
        gesamt += s.anteil;
    qreal x = inhalt().left();
    for (qsizetype i = 0; i < spalten.size(); ++i) {
        const qreal breite = inhalt().width() * spalten[i].anteil / gesamt;
        const QRectF zelle(x + mm(1.5), y, breite - mm(3), hoehe);
        const int ausrichtung = (spalten[i].rechts ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        const QString wert = i < felder.size() ? felder[i] : QString();
        // A name too long for its column is cut with an ellipsis, never overprinted.
        text(zelle, ausrichtung, QFontMetricsF(f, &m_writer).elidedText(wert, Qt::ElideRight, zelle.width()), f);
        x += breite;
    }
    y += hoehe;
}

void PdfBlatt::tabelle(const QString &titel, const QList<Spalte> &spalten, const QList<QStringList> &zeilen,
                       const QStringList &summe)
{
    tabellenKopf(titel, spalten);
    const qreal hoehe = zeilenhoehe(schrift(9.5)) + mm(2);
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        if (y + hoehe > inhalt().bottom()) {
            neueSeite();
            tabellenKopf(titel + QStringLiteral(" (Fortsetzung)"), spalten);
        }
        tabellenZeile(spalten, zeilen[i], false, i % 2 == 1);
    }
    if (summe.isEmpty())
        return;
    // A sum carried to the next page keeps the table's header above it.
    if (y + hoehe + mm(1) > inhalt().bottom()) {
        neueSeite();
        tabellenKopf(titel + QStringLiteral(" (Fortsetzung)"), spalten);
    }
    if (m_painter) {
        m_painter->setPen(QPen(Qt::black, mm(0.3)));
        m_painter->drawLine(QPointF(inhalt().left(), y), QPointF(inhalt().right(), y));
    }
    tabellenZeile(spalten, summe, true, false);
}

} // namespace zanti
