#pragma once
// The floor: the least a program must do for what the register does, with
// none of its rules. A maximised window with 60 keys, a table view on an
// SQLite table in WAL mode and a box with the newest 100 lines of
// protokoll.txt. An article key books a row and a protocol line; "=" deletes
// the rows in one fully synced transaction and writes protokoll.txt,
// verkauf.ini and Einstellungen.ini with the syncs of an atomic save.
// The controls carry the register's names (Command1..35, IstgleichTaste,
// DataGrid1, Protokoll), so the same measurements drive both.
#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWidget>

#include <array>

class QPlainTextEdit;
class QSqlTableModel;

namespace zanti::bench {

class BodenFenster : public QWidget
{
public:
    explicit BodenFenster(const QString &ordner, QWidget *eltern = nullptr);
    ~BodenFenster() override;

private:
    void datenbankOeffnen();
    void protokollLesen();
    void buchen(int taste);
    void abschliessen();
    bool speichern(const QString &name, const QList<QByteArray> &teile) const;
    QByteArray verkaufInhalt() const;

    QString m_ordner;
    QString m_verbindung;
    QSqlQuery m_einfuegen;
    QSqlTableModel *m_modell = nullptr;
    QPlainTextEdit *m_box = nullptr;

    // protokoll.txt as pieces, newest first: a close writes them as they are.
    QList<QByteArray> m_protokoll;
    QByteArray m_neueZeilen; // of the open receipt, newest first
    qint64 m_zeilen = 0;
    std::array<qint64, 37> m_verkauft{}; // units per key 1..35; 36: takings in cents
    std::array<qint64, 37> m_offen{};    // the open receipt's share
    QByteArray m_einstellungen;
};

} // namespace zanti::bench
