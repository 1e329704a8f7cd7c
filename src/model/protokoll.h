#pragma once
// The protocol of the run, newest line first, as data: the bytes of
// protokoll.txt kept ready (Windows-1252, every line ending in CR LF) and an
// index of where each line starts. A new line's bytes go on the front, so a
// booking costs the same at any size, a close writes the bytes as they are,
// and a line becomes text only when a view asks for it.
#include <QAbstractListModel>
#include <QByteArray>
#include <QList>

namespace zanti {

struct Abschluss;

// protokoll.txt as read, with its lines indexed: what the protocol holds.
// Made without a model, so that it can be made on another thread.
struct Protokolldatei
{
    // Lines ending in CR LF, a lone CR or a lone LF, and a last line
    // without an end, all end in CR LF here.
    static Protokolldatei Einlesen(const QByteArray &datei);

    QByteArray bytes;
    // Per line, oldest first: from its first byte to the end of bytes.
    QList<qsizetype> vomEnde;
};

class Protokoll : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit Protokoll(QObject *eltern = nullptr);

    // The file as read (nothing for a missing one): lines end in CR LF, a
    // lone CR or a lone LF; a last line without an end still counts. The
    // file then holds what is here. Gives the number of lines.
    qint32 laden(const QByteArray &datei);
    qint32 laden(Protokolldatei datei);
    // Cleared in set-up mode: the next save replaces the whole file.
    void leeren();
    // One line ending in CR LF.
    void zeileVoranstellen(const QString &zeile);

    // protokoll.txt as it is to be written.
    const QByteArray &bytes() const { return m_bytes; }
    qint32 zeilen() const { return qint32(m_vomEnde.size()); }
    // Line 0 is the newest; without its CR LF.
    QString zeile(int nr) const;
    // The whole protocol, every line ending in CR LF.
    QString text() const;

    // protokoll.txt now holds bytes().
    void gespeichert();
    // The protocol's part of a close's redo record: the lines the file does
    // not hold yet, or the whole file after a clearing.
    void abschlussFuellen(Abschluss &abschluss) const;

    int rowCount(const QModelIndex &eltern = {}) const override;
    QVariant data(const QModelIndex &index, int rolle = Qt::DisplayRole) const override;

private:
    QByteArray m_bytes;
    // As Protokolldatei::vomEnde: a line put in front adds one entry and
    // moves none.
    QList<qsizetype> m_vomEnde;
    // How much of m_bytes (its oldest part) the file holds, and whether the
    // protocol was cleared since.
    qsizetype m_gespeichert = 0;
    bool m_ersetzt = false;
};

} // namespace zanti
