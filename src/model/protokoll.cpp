#include "model/protokoll.h"

#include "core/text_helfer.h"
#include "persistence/abschluss.h"
#include "persistence/verkauf.h"

#include <algorithm>
#include <cstring>

namespace zanti {

namespace {

// Indexes the lines of bytes; false when one does not end in CR LF.
bool ZeilenIndexieren(const QByteArray &bytes, QList<qsizetype> &vomEnde)
{
    // One look at each line end: a season's protocol is megabytes.
    vomEnde.clear();
    const char *const anfang = bytes.constData();
    const char *const ende = anfang + bytes.size();
    bool crlf = true;
    for (const char *zeile = anfang; zeile < ende;) {
        vomEnde.append(ende - zeile);
        const char *const lf = static_cast<const char *>(std::memchr(zeile, '\n', size_t(ende - zeile)));
        if (!lf)
            return false;
        crlf = crlf && lf > zeile && lf[-1] == '\r';
        zeile = lf + 1;
    }
    // A CR elsewhere ends a line as well.
    crlf = crlf && JedesCrVorLf(bytes);
    // File order is newest first; the index runs oldest first.
    std::reverse(vomEnde.begin(), vomEnde.end());
    return crlf;
}

} // namespace

Protokolldatei Protokolldatei::Einlesen(const QByteArray &datei)
{
    Protokolldatei protokoll{datei, {}};
    if (!ZeilenIndexieren(protokoll.bytes, protokoll.vomEnde)) {
        protokoll.bytes = ProtokollZeilenenden(datei);
        ZeilenIndexieren(protokoll.bytes, protokoll.vomEnde);
    }
    return protokoll;
}

Protokoll::Protokoll(QObject *eltern)
    : QAbstractListModel(eltern)
{
}

qint32 Protokoll::laden(const QByteArray &datei)
{
    return laden(Protokolldatei::Einlesen(datei));
}

qint32 Protokoll::laden(Protokolldatei datei)
{
    beginResetModel();
    m_bytes = std::move(datei.bytes);
    m_vomEnde = std::move(datei.vomEnde);
    m_gespeichert = m_bytes.size();
    m_ersetzt = false;
    endResetModel();
    return zeilen();
}

void Protokoll::leeren()
{
    beginResetModel();
    m_bytes.clear();
    m_vomEnde.clear();
    m_ersetzt = true;
    endResetModel();
}

void Protokoll::zeileVoranstellen(const QString &zeile)
{
    beginInsertRows({}, 0, 0);
    m_bytes.prepend(Cp1252Schreiben(zeile));
    m_vomEnde.append(m_bytes.size());
    endInsertRows();
}

QString Protokoll::zeile(int nr) const
{
    const qsizetype alter = m_vomEnde.size() - 1 - nr;
    if (nr < 0 || alter < 0)
        return {};
    const qsizetype anfang = m_bytes.size() - m_vomEnde[alter];
    const qsizetype ende = alter == 0 ? m_bytes.size() : m_bytes.size() - m_vomEnde[alter - 1];
    return Cp1252Lesen(m_bytes.mid(anfang, ende - anfang - 2));
}

QString Protokoll::text() const
{
    return Cp1252Lesen(m_bytes);
}

void Protokoll::gespeichert()
{
    m_gespeichert = m_bytes.size();
    m_ersetzt = false;
}

void Protokoll::abschlussFuellen(Abschluss &abschluss) const
{
    abschluss.protokollErsetzen = m_ersetzt || m_gespeichert > m_bytes.size();
    abschluss.protokollKopf =
        abschluss.protokollErsetzen ? m_bytes : m_bytes.left(m_bytes.size() - m_gespeichert);
}

int Protokoll::rowCount(const QModelIndex &eltern) const
{
    return eltern.isValid() ? 0 : int(m_vomEnde.size());
}

QVariant Protokoll::data(const QModelIndex &index, int rolle) const
{
    if (rolle != Qt::DisplayRole || !index.isValid())
        return {};
    return zeile(index.row());
}

} // namespace zanti
