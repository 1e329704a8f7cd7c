#include "model/protokoll.h"

#include "core/text_helfer.h"
#include "persistence/abschluss.h"
#include "persistence/verkauf.h"

#include <algorithm>

namespace zanti {

Protokoll::Protokoll(QObject *eltern)
    : QAbstractListModel(eltern)
{
}

qint32 Protokoll::laden(const QByteArray &datei)
{
    beginResetModel();
    m_bytes = ProtokollZeilenenden(datei);
    m_vomEnde.clear();
    const qsizetype groesse = m_bytes.size();
    for (qsizetype anfang = 0; anfang < groesse;) {
        m_vomEnde.append(groesse - anfang);
        anfang = m_bytes.indexOf('\n', anfang) + 1;
    }
    // File order is newest first; the index runs oldest first.
    std::reverse(m_vomEnde.begin(), m_vomEnde.end());
    m_gespeichert = groesse;
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
