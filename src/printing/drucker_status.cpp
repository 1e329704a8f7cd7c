#include "printing/drucker_status.h"

namespace zanti {

namespace {

bool IstErstesByte(unsigned char b)
{
    return (b & 0x93) == 0x10;
}

bool IstZweitesByte(unsigned char b)
{
    return (b & 0x90) == 0;
}

} // namespace

void StatusLeser::einspeisen(const QByteArray &bytes)
{
    for (const char zeichen : bytes) {
        const auto b = static_cast<unsigned char>(zeichen);
        // A byte 1 where byte 2 should be means the block before was cut short.
        if (m_position == 0 || (m_position == 1 && !IstZweitesByte(b))) {
            if (!IstErstesByte(b)) {
                m_position = 0;
                continue;
            }
            m_stand.erstesByte = b;
            m_stand.offline = b & 0x08;
            m_stand.deckelOffen = b & 0x20;
            m_position = 1;
            continue;
        }
        if (m_position == 1)
            m_stand.fehler = b & 0x68;
        else if (m_position == 2) {
            m_stand.papierFastLeer = b & 0x03;
            m_stand.papierLeer = b & 0x0C;
        }
        m_position = (m_position + 1) % 4;
    }
}

QString DruckerStatusText(int wert)
{
    switch (wert) {
    case 16: return QStringLiteral("Schublade offen ");
    case 20: return QStringLiteral("Drucker bereit ");
    case 28: return QStringLiteral(" Papier ? ");
    case 60: return QStringLiteral(" Fehler ");
    case 92: return QStringLiteral(" Feedtaste ");
    default: return QString::number(wert);
    }
}

QString DruckerStatusText(int erstesByte, const Druckerstatus &stand)
{
    return DruckerStatusText(erstesByte) + (stand.papierLeer ? QStringLiteral(" Papier leer ") : QString());
}

} // namespace zanti
