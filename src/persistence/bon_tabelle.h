#pragma once
// The open receipt: table "Bon" in daten.db, walked like a record set by the
// register and shown by the receipt grid. The rows are mirrored in memory so
// the grid never waits for the database; every change is written first and
// reaches the mirror only when the write succeeded, so what is shown is what
// is stored.
#include "persistence/abschluss.h"
#include "persistence/journal.h"
#include "core/bon_zeile.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace zanti {

class BonTabelle : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit BonTabelle(QObject *eltern = nullptr);
    ~BonTabelle() override;

    // dbPfad is the full path of the file. File and table are created when
    // missing; rows already there are loaded and the first becomes current.
    // False when the file cannot be opened or written; fehlertext() says why.
    bool oeffnen(const QString &dbPfad);
    void schliessen();
    bool offen() const { return m_abfragen != nullptr; }
    // The last failure, in German, naming the file.
    QString fehlertext() const { return m_fehlertext; }

    // Before the first row; also true when the table is empty.
    bool BOF() const;
    // After the last row; also true when the table is empty. (EOF itself is a
    // macro of the C library and cannot be a member name.)
    bool EOF_() const;
    // -1 when there is no current row (BOF or EOF).
    int aktuelleZeile() const;
    // The row the operator picked in the grid; anything out of range is ignored.
    void aktuelleZeileSetzen(int zeile);
    // Only valid with a current row; otherwise an empty line.
    const BonZeile &aktuell() const;
    int anzahl() const { return int(m_zeilen.size()); }
    QList<BonZeile> zeilen() const { return m_zeilen; }

    // Stores the line (Autowert comes from the database) and makes it the
    // current row.
    bool hinzufuegen(const BonZeile &zeile);
    // Deletes the current row. The one that followed it becomes current,
    // else the one before it, else none. The follower is current at once:
    // a loop that deletes row after row needs no step of its own.
    bool loeschen();
    bool alleLoeschen();

    // Closes the receipt: the redo record, the receipt and the voids since
    // the last close go into the journal and every row is deleted, in one
    // durable transaction; beleg gets its number. False changes nothing.
    bool abschliessen(Abschluss &abschluss, Beleg &beleg, QList<StornoEintrag> &stornos);
    // Voids of a receipt that was never closed (the program ends), journalled
    // as the protocol keeps them.
    bool stornosEintragen(QList<StornoEintrag> &stornos);
    // The connection for the journal's other readers and writers; invalid
    // while closed.
    QSqlDatabase datenbank() const;
    // The close's files are on disk; the record is no longer needed.
    bool abschlussErledigt(qint64 nr);
    // Records of closes whose files may not all have been written.
    QList<Abschluss> offeneAbschluesse();

    // From now on the open receipt lives in a table in memory, with the
    // rows it has now. For a database that stopped working during the run.
    bool inDenSpeicher();
    bool imSpeicher() const { return m_pfad == QLatin1String(":memory:"); }

    int rowCount(const QModelIndex &eltern = {}) const override;
    int columnCount(const QModelIndex &eltern = {}) const override;
    QVariant data(const QModelIndex &index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung,
                        int rolle = Qt::DisplayRole) const override;

signals:
    // -1 when no row is current any more. Also sent after a delete, when the
    // new current row may sit at the same number as the deleted one.
    void aktuelleZeileGeaendert(int zeile);

private:
    struct Abfragen;

    bool einrichten(QString &grund);
    // One durable transaction: what eintragen writes and, with bonLeeren,
    // the deletion of every row.
    bool journalSchreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &eintragen, bool bonLeeren);
    bool zeileEinfuegen(BonZeile &zeile);
    bool nichtOffen();
    bool zeilenLaden(QList<BonZeile> &ziel, QSqlError &fehler);
    void positionSetzen(int position, bool immerMelden);
    void verbindungTrennen();

    QString m_verbindung;
    QString m_pfad;
    QString m_fehlertext;
    std::unique_ptr<Abfragen> m_abfragen; // present while open
    QList<BonZeile> m_zeilen;
    // -1 before the first row, m_zeilen.size() after the last.
    int m_position = -1;
};

} // namespace zanti
