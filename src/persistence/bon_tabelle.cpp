#include "persistence/bon_tabelle.h"

#include "persistence/dateischritt.h"
#include "persistence/journal.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace zanti {

namespace {

// A held lock by another program must not freeze the register for long.
constexpr auto kVerbindungsoptionen = "QSQLITE_BUSY_TIMEOUT=1000";

QString Grund(const QSqlError &fehler)
{
    bool ok = false;
    const int code = fehler.nativeErrorCode().toInt(&ok) & 0xff; // extended codes carry the primary one in the low byte
    if (ok) {
        switch (code) {
        case 5:
        case 6:
            return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
        case 8:
            return QStringLiteral("Die Datei ist schreibgeschützt.");
        case 10:
            return QStringLiteral("Lese- oder Schreibfehler auf dem Datenträger.");
        case 11:
            return QStringLiteral("Die Datei ist beschädigt.");
        case 13:
            return QStringLiteral("Der Datenträger ist voll.");
        case 14:
            return QStringLiteral("Die Datei oder ihr Ordner ist nicht erreichbar.");
        case 26:
            return QStringLiteral("Die Datei ist keine Datenbank.");
        default:
            break;
        }
    }
    const QString text = fehler.databaseText().isEmpty() ? fehler.text() : fehler.databaseText();
    return QStringLiteral("Datenbankfehler: %1").arg(text.trimmed());
}

bool Ausfuehren(QSqlQuery &abfrage, const QString &sql, QSqlError &fehler)
{
    if (abfrage.exec(sql))
        return true;
    fehler = abfrage.lastError();
    return false;
}

const BonZeile kKeineZeile;

} // namespace

struct BonTabelle::Abfragen
{
    explicit Abfragen(const QSqlDatabase &db) : einfuegen(db), loeschen(db), leeren(db) {}
    QSqlQuery einfuegen;
    QSqlQuery loeschen;
    QSqlQuery leeren;
};

BonTabelle::BonTabelle(QObject *eltern) : QAbstractTableModel(eltern)
{
    static std::atomic<int> nummer{0};
    m_verbindung = QStringLiteral("zanti_bon_%1").arg(++nummer);
}

BonTabelle::~BonTabelle()
{
    verbindungTrennen();
}

bool BonTabelle::oeffnen(const QString &dbPfad)
{
    if (offen() || !m_zeilen.isEmpty())
        schliessen();
    m_pfad = dbPfad;
    m_fehlertext.clear();

    const QString satz = QStringLiteral("Die Bon-Datenbank „%1“ kann nicht geöffnet werden: %2");
    QString grund;
    QList<BonZeile> geladen;
    if (einrichten(grund)) {
        QSqlError fehler;
        if (!zeilenLaden(geladen, fehler))
            grund = Grund(fehler);
    }
    if (!grund.isEmpty()) {
        verbindungTrennen();
        m_fehlertext = satz.arg(QDir::toNativeSeparators(dbPfad), grund);
        return false;
    }

    beginResetModel();
    m_zeilen = std::move(geladen);
    m_position = m_zeilen.isEmpty() ? -1 : 0;
    endResetModel();
    emit aktuelleZeileGeaendert(aktuelleZeile());
    return true;
}

bool BonTabelle::einrichten(QString &grund)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
    if (!db.isValid()) {
        grund = QStringLiteral("Der SQLite-Treiber fehlt.");
        return false;
    }
    db.setDatabaseName(m_pfad);
    db.setConnectOptions(QString::fromLatin1(kVerbindungsoptionen));
    if (!db.open()) {
        grund = Grund(db.lastError());
        return false;
    }

    QSqlQuery q(db);
    QSqlError fehler;
    // BEGIN IMMEDIATE fails on a file we may not write, so that shows now
    // and not at the first booking.
    const bool eingerichtet =
        Ausfuehren(q, QStringLiteral("PRAGMA journal_mode=WAL"), fehler)
        && Ausfuehren(q, QStringLiteral("PRAGMA synchronous=NORMAL"), fehler)
        && Ausfuehren(q, QStringLiteral("BEGIN IMMEDIATE"), fehler)
        && Ausfuehren(q,
                      QStringLiteral("CREATE TABLE IF NOT EXISTS Bon ("
                                     "Autowert INTEGER PRIMARY KEY AUTOINCREMENT, "
                                     "Anzahl TEXT, Artikel TEXT, Preis TEXT, "
                                     "Tastennr INTEGER, BonId INTEGER)"),
                      fehler)
        && AbschlussTabelleAnlegen(db, fehler)
        && JournalAnlegen(db, fehler)
        && Ausfuehren(q, QStringLiteral("COMMIT"), fehler);
    if (!eingerichtet) {
        q.exec(QStringLiteral("ROLLBACK"));
        grund = Grund(fehler);
        return false;
    }

    auto abfragen = std::make_unique<Abfragen>(db);
    for (auto [abfrage, sql] : {
             std::pair{&abfragen->einfuegen,
                       "INSERT INTO Bon (Anzahl, Artikel, Preis, Tastennr, BonId) VALUES (?, ?, ?, ?, ?)"},
             std::pair{&abfragen->loeschen, "DELETE FROM Bon WHERE Autowert = ?"},
             std::pair{&abfragen->leeren, "DELETE FROM Bon"}}) {
        // An older table with other columns ends up here.
        if (!abfrage->prepare(QString::fromLatin1(sql))) {
            grund = Grund(abfrage->lastError());
            return false;
        }
    }
    m_abfragen = std::move(abfragen);
    return true;
}

void BonTabelle::schliessen()
{
    verbindungTrennen();
    beginResetModel();
    m_zeilen.clear();
    m_position = -1;
    endResetModel();
    emit aktuelleZeileGeaendert(-1);
}

void BonTabelle::verbindungTrennen()
{
    // The statements hold the connection; they go first.
    m_abfragen.reset();
    if (QSqlDatabase::contains(m_verbindung)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_verbindung);
    }
}

bool BonTabelle::nichtOffen()
{
    if (m_fehlertext.isEmpty())
        m_fehlertext = QStringLiteral("Die Bon-Datenbank ist nicht geöffnet.");
    return false;
}

bool BonTabelle::zeilenLaden(QList<BonZeile> &ziel, QSqlError &fehler)
{
    QSqlQuery q(QSqlDatabase::database(m_verbindung, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT Autowert, Anzahl, Artikel, Preis, Tastennr, BonId FROM Bon ORDER BY Autowert"))) {
        fehler = q.lastError();
        return false;
    }
    while (q.next()) {
        BonZeile z;
        z.Autowert = q.value(0).toLongLong();
        z.Anzahl = q.value(1).toString();
        z.Artikel = q.value(2).toString();
        z.Preis = q.value(3).toString();
        z.Tastennr = q.value(4).toInt();
        z.BonId = q.value(5).toInt();
        // The table keeps texts; their cents are read once, here.
        z.Menge = BetragLesen(z.Anzahl).value_or(0);
        z.Betrag = BetragLesen(z.Preis).value_or(0);
        ziel.append(z);
    }
    if (q.lastError().isValid()) {
        fehler = q.lastError();
        return false;
    }
    return true;
}

bool BonTabelle::BOF() const
{
    return m_zeilen.isEmpty() || m_position < 0;
}

bool BonTabelle::EOF_() const
{
    return m_zeilen.isEmpty() || m_position >= m_zeilen.size();
}

int BonTabelle::aktuelleZeile() const
{
    return (m_position >= 0 && m_position < m_zeilen.size()) ? m_position : -1;
}

void BonTabelle::positionSetzen(int position, bool immerMelden)
{
    const int vorher = aktuelleZeile();
    m_position = position;
    if (immerMelden || aktuelleZeile() != vorher)
        emit aktuelleZeileGeaendert(aktuelleZeile());
}

void BonTabelle::aktuelleZeileSetzen(int zeile)
{
    if (zeile >= 0 && zeile < m_zeilen.size())
        positionSetzen(zeile, false);
}

const BonZeile &BonTabelle::aktuell() const
{
    const int z = aktuelleZeile();
    return z < 0 ? kKeineZeile : m_zeilen.at(z);
}

bool BonTabelle::zeileEinfuegen(BonZeile &zeile)
{
    QSqlQuery &q = m_abfragen->einfuegen;
    q.bindValue(0, zeile.Anzahl);
    q.bindValue(1, zeile.Artikel);
    q.bindValue(2, zeile.Preis);
    q.bindValue(3, zeile.Tastennr);
    q.bindValue(4, zeile.BonId);
    if (!q.exec()) {
        m_fehlertext = QStringLiteral("Die Bon-Zeile „%1“ konnte nicht in „%2“ gespeichert werden: %3")
                           .arg(zeile.Artikel, QDir::toNativeSeparators(m_pfad), Grund(q.lastError()));
        return false;
    }
    zeile.Autowert = q.lastInsertId().toLongLong();
    return true;
}

bool BonTabelle::hinzufuegen(const BonZeile &zeile)
{
    if (!offen())
        return nichtOffen();
    BonZeile neu = zeile;
    if (!zeileEinfuegen(neu))
        return false;
    const int zeilennr = int(m_zeilen.size());
    beginInsertRows({}, zeilennr, zeilennr);
    m_zeilen.append(neu);
    endInsertRows();
    positionSetzen(zeilennr, true);
    return true;
}

bool BonTabelle::loeschen()
{
    if (!offen())
        return nichtOffen();
    const int z = aktuelleZeile();
    if (z < 0)
        return false;
    QSqlQuery &q = m_abfragen->loeschen;
    q.bindValue(0, m_zeilen.at(z).Autowert);
    if (!q.exec()) {
        m_fehlertext = QStringLiteral("Die Bon-Zeile „%1“ konnte in „%2“ nicht gelöscht werden: %3")
                           .arg(m_zeilen.at(z).Artikel, QDir::toNativeSeparators(m_pfad),
                                Grund(q.lastError()));
        return false;
    }
    // A row some other program already removed is gone all the same.
    beginRemoveRows({}, z, z);
    m_zeilen.removeAt(z);
    endRemoveRows();
    const int folgende = z < m_zeilen.size() ? z : int(m_zeilen.size()) - 1;
    positionSetzen(folgende, true);
    return true;
}

bool BonTabelle::alleLoeschen()
{
    if (!offen())
        return nichtOffen();
    QSqlQuery &q = m_abfragen->leeren;
    if (!q.exec()) {
        m_fehlertext = QStringLiteral("Der Bon in „%1“ konnte nicht geleert werden: %2")
                           .arg(QDir::toNativeSeparators(m_pfad), Grund(q.lastError()));
        return false;
    }
    beginResetModel();
    m_zeilen.clear();
    m_position = -1;
    endResetModel();
    emit aktuelleZeileGeaendert(-1);
    return true;
}

bool BonTabelle::abschliessen(Abschluss &abschluss, Beleg &beleg, QList<StornoEintrag> &stornos)
{
    return journalSchreiben([&](QSqlDatabase &db, QSqlError &fehler) {
        bool ok = AbschlussEintragen(db, abschluss, fehler) && BelegEintragen(db, beleg, fehler);
        for (StornoEintrag &storno : stornos)
            ok = ok && StornoEintragen(db, storno, fehler);
        return ok;
    }, true);
}

bool BonTabelle::stornosEintragen(QList<StornoEintrag> &stornos)
{
    return journalSchreiben([&](QSqlDatabase &db, QSqlError &fehler) {
        bool ok = true;
        for (StornoEintrag &storno : stornos)
            ok = ok && StornoEintragen(db, storno, fehler);
        return ok;
    }, false);
}

QSqlDatabase BonTabelle::datenbank() const
{
    return offen() ? QSqlDatabase::database(m_verbindung, false) : QSqlDatabase();
}

bool BonTabelle::journalSchreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &eintragen,
                                  bool bonLeeren)
{
    if (!offen())
        return nichtOffen();
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    QSqlQuery q(db);
    QSqlError fehler;
    // The one commit that must survive a power cut: full sync for it alone,
    // bookings stay cheap.
    const bool gespeichert = Ausfuehren(q, QStringLiteral("PRAGMA synchronous=FULL"), fehler)
        && Ausfuehren(q, QStringLiteral("BEGIN IMMEDIATE"), fehler)
        && eintragen(db, fehler)
        && (!bonLeeren || Ausfuehren(q, QStringLiteral("DELETE FROM Bon"), fehler))
        && (DateischrittMelden("vor dem Commit"), Ausfuehren(q, QStringLiteral("COMMIT"), fehler));
    if (!gespeichert) {
        q.exec(QStringLiteral("ROLLBACK"));
        m_fehlertext = QStringLiteral("Der Bon in „%1“ konnte nicht abgeschlossen werden: %2")
                           .arg(QDir::toNativeSeparators(m_pfad), Grund(fehler));
    }
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (!gespeichert)
        return false;
    DateischrittMelden("Commit");
    if (bonLeeren) {
        beginResetModel();
        m_zeilen.clear();
        m_position = -1;
        endResetModel();
        emit aktuelleZeileGeaendert(-1);
    }
    return true;
}

bool BonTabelle::abschlussErledigt(qint64 nr)
{
    if (!offen())
        return nichtOffen();
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    QSqlError fehler;
    if (AbschlussLoeschen(db, nr, fehler))
        return true;
    m_fehlertext = Grund(fehler);
    return false;
}

QList<Abschluss> BonTabelle::offeneAbschluesse()
{
    if (!offen())
        return {};
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    return OffeneAbschluesse(db);
}

bool BonTabelle::inDenSpeicher()
{
    QList<BonZeile> zeilen = m_zeilen;
    const int position = m_position;
    verbindungTrennen();
    m_pfad = QStringLiteral(":memory:");
    QString grund;
    bool ok = einrichten(grund);
    for (BonZeile &zeile : zeilen)
        ok = ok && zeileEinfuegen(zeile);
    if (!ok) {
        verbindungTrennen();
        beginResetModel();
        m_zeilen.clear();
        m_position = -1;
        endResetModel();
        emit aktuelleZeileGeaendert(-1);
        return false;
    }
    // The same rows in the same order: the grid and the current row stay.
    m_zeilen = zeilen;
    m_position = position;
    return true;
}

int BonTabelle::rowCount(const QModelIndex &eltern) const
{
    return eltern.isValid() ? 0 : int(m_zeilen.size());
}

int BonTabelle::columnCount(const QModelIndex &eltern) const
{
    return eltern.isValid() ? 0 : Spaltenzahl;
}

QVariant BonTabelle::data(const QModelIndex &index, int rolle) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (rolle == Qt::TextAlignmentRole && index.column() == SpaltePreis)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (rolle != Qt::DisplayRole)
        return {};
    // Always text: a number would get the locale's thousands separator.
    const BonZeile &z = m_zeilen.at(index.row());
    switch (index.column()) {
    case SpalteAutowert: return QString::number(z.Autowert);
    case SpalteAnzahl: return z.Anzahl;
    case SpalteArtikel: return z.Artikel;
    case SpaltePreis: return z.Preis;
    case SpalteTastennr: return QString::number(z.Tastennr);
    case SpalteBonId: return QString::number(z.BonId);
    default: return {};
    }
}

QVariant BonTabelle::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const
{
    static const QStringList namen = {QStringLiteral("Autowert"), QStringLiteral("Anzahl"),
                                      QStringLiteral("Artikel"),  QStringLiteral("Preis"),
                                      QStringLiteral("Tastennr"), QStringLiteral("BonId")};
    if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole && abschnitt >= 0
        && abschnitt < namen.size())
        return namen.at(abschnitt);
    return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
}

} // namespace zanti
