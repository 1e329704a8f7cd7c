#include "escpos/escpos_decoder.h"

#include "printing/escpos.h"

#include <array>

using namespace zanti::escpos;

namespace {

// Code page 437, bytes 128..255.
constexpr std::array<char16_t, 128> kCp437Oben = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Tab stops after ESC @: every 8 columns.
QList<int> StandardTabs()
{
    QList<int> tabs;
    for (int s = 8; s < 256; s += 8)
        tabs << s;
    return tabs;
}

unsigned char U(char c)
{
    return static_cast<unsigned char>(c);
}

} // namespace

EscPosDecoder::EscPosDecoder()
{
    m_tabs = StandardTabs();
}

QChar EscPosDecoder::cp437(unsigned char b)
{
    if (b < 0x80)
        return QChar(b);
    return QChar(kCp437Oben[b - 0x80]);
}

QString EscPosDecoder::gesperrt(const QString &text)
{
    QString t;
    for (QChar c : text)
        t += c + QStringLiteral(" ");
    return t;
}

void EscPosDecoder::einspeisen(const QByteArray &bytes)
{
    m_rest += bytes;
    qsizetype pos = 0;
    while (pos < m_rest.size()) {
        const unsigned char b = U(m_rest.at(pos));
        if (b >= 0x20 && b != 0x7F) {
            zeichen(cp437(b));
            ++pos;
            continue;
        }
        const qsizetype laenge = befehl(pos);
        if (laenge == 0)
            break;
        pos += laenge;
    }
    m_rest.remove(0, pos);
}

qsizetype EscPosDecoder::befehl(qsizetype pos)
{
    const qsizetype da = m_rest.size() - pos;
    auto byte = [&](qsizetype i) { return U(m_rest.at(pos + i)); };
    const char b = m_rest.at(pos);

    if (b == kLF) {
        zeileDrucken();
        return 1;
    }
    if (b == kHT) {
        tabulator();
        return 1;
    }
    if (b != kESC && b != kGS && b != kFS && b != kDLE) {
        ++m_unbekannt;
        return 1;
    }
    if (da < 2)
        return 0;
    const unsigned char c = byte(1);

    if (b == kESC && c == '@') {
        zuruecksetzen();
        ++m_init;
        return 2;
    }
    if (b == kESC && c == 'D') {
        // Up to 32 stops, ended by NUL.
        qsizetype i = 2;
        while (i < da && byte(i) != 0 && i < 2 + 32)
            ++i;
        if (i == da)
            return 0;
        m_tabs.clear();
        for (qsizetype k = 2; k < i; ++k)
            m_tabs << byte(k);
        return byte(i) == 0 ? i + 1 : i;
    }
    const bool dreiBytes = (b == kESC && (c == 'a' || c == 'd'))
        || (b == kGS && (c == 'a' || c == '!' || c == 'V'));
    if (dreiBytes) {
        if (da < 3)
            return 0;
        const unsigned char n = byte(2);
        if (b == kESC && c == 'a') {
            if (n == 0 || n == '0')
                m_ausrichtung = Ausrichtung::Links;
            else if (n == 1 || n == '1')
                m_ausrichtung = Ausrichtung::Mitte;
            else if (n == 2 || n == '2')
                m_ausrichtung = Ausrichtung::Rechts;
            return 3;
        }
        if (b == kESC && c == 'd') {
            int leer = n;
            if (m_zeileBegonnen) {
                zeileDrucken();
                --leer;
            }
            for (int i = 0; i < leer; ++i)
                zeileDrucken();
            return 3;
        }
        if (b == kGS && c == 'a') {
            ++m_statusAnfragen;
            m_letzteStatusGruppe = n;
            return 3;
        }
        if (b == kGS && c == '!') {
            m_breite = ((n >> 4) & 7) + 1;
            return 3;
        }
        // GS V m, and GS V m n for the feed-and-cut variants 65 and 66.
        if (n == 65 || n == 66) {
            if (da < 4)
                return 0;
            schneiden();
            return 4;
        }
        schneiden();
        return 3;
    }
    if (b == kFS && c == 'p') {
        if (da < 4)
            return 0;
        if (m_zeileBegonnen)
            zeileDrucken();
        m_logos << byte(2);
        // The logo is a picture: its caption keeps normal width.
        const int breite = m_breite;
        m_breite = 1;
        for (QChar z : QStringLiteral("[Logo %1]").arg(byte(2)))
            zeichen(z);
        m_breite = breite;
        zeileDrucken();
        return 4;
    }
    if (b == kDLE && c == kDC4) {
        if (da < 3)
            return 0;
        if (byte(2) == 1) {
            if (da < 5)
                return 0;
            ++m_impulse;
            return 5;
        }
    }
    m_unbekannt += 2;
    return 2;
}

void EscPosDecoder::zeichen(QChar c)
{
    if (!m_zeileBegonnen) {
        m_zeileBegonnen = true;
        m_zeilenAusrichtung = m_ausrichtung;
    }
    m_zeile += c;
    if (m_gesperrt)
        m_zeile += QString(m_breite - 1, u' ');
    m_spalte += m_breite;
}

void EscPosDecoder::tabulator()
{
    for (int stop : std::as_const(m_tabs)) {
        if (stop > m_spalte) {
            if (!m_zeileBegonnen) {
                m_zeileBegonnen = true;
                m_zeilenAusrichtung = m_ausrichtung;
            }
            m_zeile += QString(stop - m_spalte, u' ');
            m_spalte = stop;
            return;
        }
    }
}

QString EscPosDecoder::zeileGesetzt() const
{
    int frei = kZeilenBreite - m_spalte;
    if (frei < 0)
        frei = 0;
    int vorne = 0;
    if (m_zeilenAusrichtung == Ausrichtung::Mitte)
        vorne = frei / 2;
    else if (m_zeilenAusrichtung == Ausrichtung::Rechts)
        vorne = frei;
    QString z = QString(vorne, u' ') + m_zeile;
    while (z.endsWith(u' '))
        z.chop(1);
    return z;
}

void EscPosDecoder::zeileDrucken()
{
    m_zeilen << (m_zeileBegonnen ? zeileGesetzt() : QString());
    m_zeile.clear();
    m_spalte = 0;
    m_zeileBegonnen = false;
}

void EscPosDecoder::zuruecksetzen()
{
    m_zeile.clear();
    m_spalte = 0;
    m_zeileBegonnen = false;
    m_ausrichtung = Ausrichtung::Links;
    m_breite = 1;
    m_tabs = StandardTabs();
}

void EscPosDecoder::schneiden()
{
    if (m_zeileBegonnen)
        zeileDrucken();
    m_fertig << m_zeilen.join(u'\n');
    m_zeilen.clear();
}

QStringList EscPosDecoder::fertigeBons()
{
    QStringList bons;
    bons.swap(m_fertig);
    return bons;
}

QString EscPosDecoder::offenerBon() const
{
    QStringList zeilen = m_zeilen;
    if (m_zeileBegonnen)
        zeilen << zeileGesetzt();
    return zeilen.join(u'\n');
}
