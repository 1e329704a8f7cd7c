#include "veranstaltung/versand_arbeiter.h"

#include "veranstaltung/libpq.h"

#include "persistence/datei.h"
#include "persistence/journal.h"
#include "persistence/server_verbindung.h"
#include "veranstaltung/server_schema.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sys/resource.h>
#include <unistd.h>

namespace zanti {

namespace {

// The forwarder thread's nice value (0 normal, 19 lowest).
constexpr int kNett = 10;

std::atomic_int g_verbindungen{0};

constexpr auto kBelegSql = R"(
INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, tisch,
                   summe_cent, gegeben_cent, rueckgeld_cent, druck)
SELECT x.id, ?, ?, x.kasse_id, x.nummer, timestamptz 'epoch' + x.zeit_ms * interval '1 millisecond',
       x.offset_s, x.tisch, x.summe, x.gegeben, x.rueckgeld, x.druck
FROM json_to_recordset(CAST(? AS json)) AS x(id uuid, kasse_id uuid, nummer bigint, zeit_ms bigint,
     offset_s int, tisch int, summe bigint, gegeben bigint, rueckgeld bigint, druck smallint)
ON CONFLICT DO NOTHING)";

// Lines only for receipts the server holds under this id: one whose number
// the server already knows under another id is refused as a whole.
constexpr auto kZeilenSql = R"(
INSERT INTO belegzeile (beleg_id, pos, taste, artikel, anzahl, preis_cent, betrag_cent)
SELECT x.beleg_id, x.pos, x.taste, x.artikel, x.anzahl, x.preis, x.betrag
FROM json_to_recordset(CAST(? AS json)) AS x(beleg_id uuid, pos int, taste int, artikel text,
     anzahl int, preis bigint, betrag bigint)
WHERE EXISTS (SELECT 1 FROM beleg b WHERE b.id = x.beleg_id)
ON CONFLICT DO NOTHING)";

constexpr auto kAngekommenSql = R"(
SELECT count(*) FROM beleg b JOIN json_to_recordset(CAST(? AS json)) AS x(id uuid) ON b.id = x.id)";

constexpr auto kStornoSql = R"(
INSERT INTO storno (id, veranstaltung, kasse, kasse_id, zeit, zeit_offset_s, beleg_nummer, taste,
                    artikel, anzahl, betrag_cent)
SELECT x.id, ?, ?, x.kasse_id, timestamptz 'epoch' + x.zeit_ms * interval '1 millisecond', x.offset_s,
       x.beleg_nummer, x.taste, x.artikel, x.anzahl, x.betrag
FROM json_to_recordset(CAST(? AS json)) AS x(id uuid, kasse_id uuid, zeit_ms bigint, offset_s int,
     beleg_nummer bigint, taste int, artikel text, anzahl int, betrag bigint)
ON CONFLICT DO NOTHING)";

// A change only for a receipt the server holds: one refused for its number
// has none there either.
constexpr auto kNachtragSql = R"(
INSERT INTO beleg_nachtrag (id, beleg_id, kasse_id, nr, zeit, zeit_offset_s, gegeben_cent, rueckgeld_cent, druck)
SELECT x.id, x.beleg_id, x.kasse_id, x.nr, timestamptz 'epoch' + x.zeit_ms * interval '1 millisecond',
       x.offset_s, x.gegeben, x.rueckgeld, x.druck
FROM json_to_recordset(CAST(? AS json)) AS x(id uuid, beleg_id uuid, kasse_id uuid, nr bigint, zeit_ms bigint,
     offset_s int, gegeben bigint, rueckgeld bigint, druck int)
WHERE EXISTS (SELECT 1 FROM beleg b WHERE b.id = x.beleg_id)
ON CONFLICT DO NOTHING)";

constexpr auto kStandSql = R"(
INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend)
VALUES (CAST(? AS uuid), ?, ?, ?, ?, ?))";

// As text: bytes would go as bytea.
QString Json(const QJsonArray &a)
{
    return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
}

QJsonValue Wahlweise(const std::optional<qint64> &wert)
{
    return wert ? QJsonValue(*wert) : QJsonValue(QJsonValue::Null);
}

qint64 Zahl(QSqlDatabase &db, const QString &sql, const QVariantList &werte = {})
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &w : werte)
        q.addBindValue(w);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool Ausfuehren(QSqlDatabase &db, const char *sql, const QVariantList &werte)
{
    QSqlQuery q(db);
    q.prepare(QString::fromLatin1(sql));
    for (const QVariant &w : werte)
        q.addBindValue(w);
    return q.exec();
}

// What the journal holds after the marks; -1 where a read failed.
struct Offen
{
    qint64 belege = -1;
    qint64 stornos = -1;
    qint64 nachtraege = -1;
    bool gelesen() const { return belege >= 0 && stornos >= 0 && nachtraege >= 0; }
    qint64 summe() const { return belege + stornos + nachtraege; }
};

Offen OffenZaehlen(QSqlDatabase &journal, const VersandStand &stand)
{
    return {Zahl(journal, QStringLiteral("SELECT count(*) FROM Beleg WHERE lfd > ?"), {stand.belege.bis}),
            Zahl(journal, QStringLiteral("SELECT count(*) FROM Storno WHERE lfd > ?"), {stand.stornos.bis}),
            Zahl(journal, QStringLiteral("SELECT count(*) FROM Nachtrag WHERE lfd > ?"), {stand.nachtraege.bis})};
}

void Schliessen(const QString &name)
{
    if (!QSqlDatabase::contains(name))
        return;
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

} // namespace

VersandArbeiter::VersandArbeiter(const Veranstaltung &veranstaltung, const QString &ordner,
                                 const WeiterleitungsOptionen &optionen, std::shared_ptr<Antwortfrist> frist,
                                 std::shared_ptr<std::atomic_bool> ende)
    : m_veranstaltung(veranstaltung)
    , m_ordner(ordner)
    , m_optionen(optionen)
    , m_frist(std::move(frist))
    , m_ende(std::move(ende))
{
    const int nr = ++g_verbindungen;
    m_journal = QStringLiteral("versand-journal-%1").arg(nr);
    m_server = QStringLiteral("versand-server-%1").arg(nr);
}

VersandArbeiter::~VersandArbeiter()
{
    standSpeichern();
    trennen();
    Schliessen(m_journal);
}

void VersandArbeiter::starten()
{
    // Background work: during a catch-up of thousands of receipts the
    // window's thread goes first on a machine of two cores.
    ::setpriority(PRIO_PROCESS, ::gettid(), kNett);
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    connect(m_pause, &QTimer::timeout, this, &VersandArbeiter::arbeiten);
    m_nachsehen = new QTimer(this);
    connect(m_nachsehen, &QTimer::timeout, this, &VersandArbeiter::wecken);
    m_nachsehen->start(m_optionen.nachsehenMs);
    emit zustand(Weiterleitungszustand::Verbinden, 0, 0, 0);
    arbeiten();
}

void VersandArbeiter::wecken()
{
    if (m_weiter)
        return;
    m_weiter = true;
    QMetaObject::invokeMethod(this, &VersandArbeiter::arbeiten, Qt::QueuedConnection);
}

void VersandArbeiter::einmalMelden(const QString &art, const QString &text)
{
    if (m_gemeldet.contains(art))
        return;
    m_gemeldet.insert(art);
    emit meldung(text);
}

bool VersandArbeiter::journalOeffnen()
{
    if (m_standGeladen)
        return true;
    // Never the one to create daten.db: that is the register's.
    const QString datei = ProgrammDatei(m_ordner, QStringLiteral("daten.db"));
    if (!QFile::exists(datei))
        return false;
    QSqlDatabase db = QSqlDatabase::contains(m_journal) ? QSqlDatabase::database(m_journal, false)
                                                        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_journal);
    db.setDatabaseName(datei);
    // Reads only; a close that holds the file is waited for, never failed.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.isOpen() && !db.open())
        return false;
    const std::optional<Kassenkennung> kennung = KennungLesen(db);
    if (!kennung)
        return false;
    m_kasseId = kennung->id;
    const JournalEnde ende{Zahl(db, QStringLiteral("SELECT coalesce(max(lfd), 0) FROM Beleg")),
                           Zahl(db, QStringLiteral("SELECT coalesce(max(lfd), 0) FROM Storno")),
                           Zahl(db, QStringLiteral("SELECT coalesce(max(lfd), 0) FROM Nachtrag"))};
    if (ende.belege < 0 || ende.stornos < 0 || ende.nachtraege < 0)
        return false;
    const QString pfad = ProgrammDatei(m_ordner, kVersandDatei);
    const std::optional<VersandStand> alt = VersandStandLaden(pfad);
    m_stand = VersandStandFuer(alt, m_veranstaltung.name, m_veranstaltung.server, ende);
    if (!standPruefen())
        return false;
    if (!alt || *alt != m_stand)
        VersandStandSpeichern(pfad, m_stand);
    m_standGeladen = true;
    return true;
}

// A mark must name the entry the journal holds there; a daten.db that was
// replaced sends everything again (the server takes it once).
bool VersandArbeiter::standPruefen()
{
    QSqlDatabase db = QSqlDatabase::database(m_journal, false);
    for (auto [tabelle, marke] : {std::pair{"Beleg", &m_stand.belege}, std::pair{"Storno", &m_stand.stornos},
                                  std::pair{"Nachtrag", &m_stand.nachtraege}}) {
        if (marke->bis == 0)
            continue;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT id FROM %1 WHERE lfd = ?").arg(QLatin1String(tabelle)));
        q.addBindValue(marke->bis);
        if (!q.exec())
            return false;
        const QString id = q.next() ? q.value(0).toString() : QString();
        if (marke->id.isEmpty() && !id.isEmpty())
            marke->id = id;
        else if (id.isEmpty() || id != marke->id)
            *marke = {};
    }
    return true;
}

bool VersandArbeiter::verbinden()
{
    QSqlDatabase db = QSqlDatabase::contains(m_server) ? QSqlDatabase::database(m_server, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_server);
    ServerVerbindungEinrichten(db, m_veranstaltung.server, m_optionen.verbindungsFristS);
    m_verbindungsFehler = Weiterleitungszustand::NichtErreichbar;
    if (!db.open())
        return false;
    const QVariant handle = db.driver()->handle();
    // The driver names the type by libpq's struct tag.
    m_socket = (handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0))
        ? libpq::socket(*static_cast<PGconn *const *>(handle.constData()))
        : -1;
    FristGuard frist(*m_frist, m_socket, m_optionen.antwortFristMs);
    const SchemaStand schema = SchemaEinrichten(db);
    if (schema.ergebnis == SchemaStand::Neuer) {
        einmalMelden(QStringLiteral("neuer"),
                     QStringLiteral("Die Datenbank der Veranstaltung hat ein neueres Schema (Version %1), "
                                    "als diese Kasse kennt (Version %2). Die Kasse sendet nichts dorthin, "
                                    "bis sie erneuert ist, und verkauft allein weiter.")
                         .arg(schema.version)
                         .arg(kSchemaVersion));
        m_verbindungsFehler = Weiterleitungszustand::SchemaNeuer;
        return false;
    }
    if (schema.ergebnis == SchemaStand::KeineRechte) {
        einmalMelden(QStringLiteral("rechte"),
                     QStringLiteral("Auf dem Server fehlen die Tabellen der Veranstaltung (Version %1), und "
                                    "diese Kasse darf sie nicht anlegen. Der Besitzer der Datenbank richtet "
                                    "sie ein (siehe README). Die Kasse verkauft allein weiter.")
                         .arg(kSchemaVersion));
        m_verbindungsFehler = Weiterleitungszustand::KeineRechte;
        return false;
    }
    if (schema.ergebnis != SchemaStand::Bereit)
        return false;
    // Connected: a heartbeat, then whether another register uses our name.
    QSqlDatabase journal = QSqlDatabase::database(m_journal, false);
    const qint64 hoechste = NaechsteBelegNummer(journal, m_kasseId) - 1;
    const qint64 stornos = Zahl(journal, QStringLiteral("SELECT count(*) FROM Storno WHERE kasse_id = ?"), {m_kasseId});
    const Offen offen = OffenZaehlen(journal, m_stand);
    const qint64 wartend = offen.gelesen() ? offen.summe() : 0;
    if (!Ausfuehren(db, kStandSql, {m_kasseId, m_veranstaltung.name, m_veranstaltung.kasse, hoechste, stornos,
                                    std::clamp<qint64>(wartend, 0, INT_MAX)}))
        return false;
    const qint64 belegt = Zahl(db, QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM kasse_stand "
                                                  "WHERE veranstaltung = ? AND kasse = ? "
                                                  "AND kasse_id <> CAST(? AS uuid) LIMIT 1) x"),
                               {m_veranstaltung.name, m_veranstaltung.kasse, m_kasseId});
    if (belegt < 0)
        return false;
    if (belegt > 0)
        einmalMelden(QStringLiteral("name"),
                     QStringLiteral("Der Kassenname „%1“ wird in der Veranstaltung schon von einer anderen "
                                    "Kasse benutzt. Beide Kassen werden vollständig gezählt; bitte in „%2“ "
                                    "einen eigenen Namen eintragen (Kasse=).")
                         .arg(m_veranstaltung.kasse, kVeranstaltungsDatei));
    m_verbunden = true;
    m_pauseMs = 0;
    return true;
}

void VersandArbeiter::trennen()
{
    m_verbunden = false;
    m_socket = -1;
    Schliessen(m_server);
}

void VersandArbeiter::spaeter(int art)
{
    trennen();
    const bool dauerhaft = art == Weiterleitungszustand::SchemaNeuer || art == Weiterleitungszustand::KeineRechte;
    m_pauseMs = dauerhaft ? m_optionen.pauseMaxMs
                          : std::min(m_pauseMs ? 2 * m_pauseMs : m_optionen.pauseMinMs, m_optionen.pauseMaxMs);
    m_pause->start(m_pauseMs);
    m_letzteArt = art;
    m_letzteBelege = m_letzteStornos = m_letzteNachtraege = -1;
    QSqlDatabase journal = QSqlDatabase::database(m_journal, false);
    const Offen offen = m_standGeladen ? OffenZaehlen(journal, m_stand) : Offen{0, 0, 0};
    emit zustand(art, std::max<qint64>(offen.belege, 0), std::max<qint64>(offen.stornos, 0),
                 std::max<qint64>(offen.nachtraege, 0));
}

void VersandArbeiter::arbeiten()
{
    m_weiter = false;
    if (*m_ende || m_pause->isActive())
        return;
    if (!journalOeffnen()) {
        spaeter(Weiterleitungszustand::NichtErreichbar);
        return;
    }
    if (!m_verbunden && !verbinden()) {
        spaeter(m_verbindungsFehler);
        return;
    }
    const int gesendet = stapelSenden();
    if (gesendet < 0) {
        spaeter(Weiterleitungszustand::NichtErreichbar);
        return;
    }
    if (gesendet > 0)
        wecken();
    zustandMelden();
}

void VersandArbeiter::zustandMelden()
{
    QSqlDatabase journal = QSqlDatabase::database(m_journal, false);
    const Offen offen = OffenZaehlen(journal, m_stand);
    if (!offen.gelesen())
        return;
    const int art = offen.summe() == 0 ? Weiterleitungszustand::Gesendet : Weiterleitungszustand::Wartend;
    if (art == m_letzteArt && offen.belege == m_letzteBelege && offen.stornos == m_letzteStornos
        && offen.nachtraege == m_letzteNachtraege)
        return;
    m_letzteArt = art;
    m_letzteBelege = offen.belege;
    m_letzteStornos = offen.stornos;
    m_letzteNachtraege = offen.nachtraege;
    emit zustand(art, offen.belege, offen.stornos, offen.nachtraege);
}

int VersandArbeiter::stapelSenden()
{
    QSqlDatabase journal = QSqlDatabase::database(m_journal, false);
    // One snapshot of the journal: the batch, its line count and what stays.
    if (!journal.transaction())
        return 0;
    const QList<Beleg> belege = BelegeLesen(journal, m_stand.belege.bis, m_optionen.stapel);
    const QList<StornoEintrag> stornos = StornosLesen(journal, m_stand.stornos.bis, m_optionen.stapel);
    qint64 zeilen = 0;
    for (const Beleg &b : belege)
        zeilen += b.zeilen.size();
    const qint64 gelesen = belege.isEmpty() ? 0
        : Zahl(journal, QStringLiteral("SELECT count(*) FROM Belegzeile WHERE beleg BETWEEN ? AND ?"),
               {belege.first().lfd, belege.last().lfd});
    // Changes go with their receipt at the latest, never before it.
    VersandStand nachher = m_stand;
    if (!belege.isEmpty())
        nachher.belege = {m_stand.belege.beginn, belege.last().lfd, belege.last().id};
    if (!stornos.isEmpty())
        nachher.stornos = {m_stand.stornos.beginn, stornos.last().lfd, stornos.last().id};
    const QList<NachtragEintrag> nachtraege =
        NachtraegeLesen(journal, m_stand.nachtraege.bis, nachher.belege.bis, m_optionen.stapel);
    if (!nachtraege.isEmpty())
        nachher.nachtraege = {m_stand.nachtraege.beginn, nachtraege.last().lfd, nachtraege.last().id};
    const Offen rest = OffenZaehlen(journal, nachher);
    const qint64 hoechste = NaechsteBelegNummer(journal, m_kasseId) - 1;
    const qint64 stornoZahl = Zahl(journal, QStringLiteral("SELECT count(*) FROM Storno WHERE kasse_id = ?"), {m_kasseId});
    journal.commit();
    // A read that failed half-way sends nothing; the next turn reads again.
    if ((belege.isEmpty() && stornos.isEmpty() && nachtraege.isEmpty()) || gelesen != zeilen || !rest.gelesen()
        || stornoZahl < 0)
        return 0;
    const qint64 wartend = rest.summe();

    QJsonArray belegJson, zeilenJson, stornoJson;
    for (const Beleg &b : belege) {
        belegJson.append(QJsonObject{{u"id"_qs, b.id},
                                     {u"kasse_id"_qs, b.kasseId},
                                     {u"nummer"_qs, b.nummer},
                                     {u"zeit_ms"_qs, b.zeit.ms},
                                     {u"offset_s"_qs, b.zeit.offsetS},
                                     {u"tisch"_qs, b.tisch ? QJsonValue(*b.tisch) : QJsonValue(QJsonValue::Null)},
                                     {u"summe"_qs, b.summeCent},
                                     {u"gegeben"_qs, Wahlweise(b.gegebenCent)},
                                     {u"rueckgeld"_qs, Wahlweise(b.rueckgeldCent)},
                                     {u"druck"_qs, int(b.druck)}});
        int pos = 0;
        for (const Belegzeile &z : b.zeilen)
            zeilenJson.append(QJsonObject{{u"beleg_id"_qs, b.id},
                                          {u"pos"_qs, ++pos},
                                          {u"taste"_qs, z.taste},
                                          {u"artikel"_qs, z.artikel},
                                          {u"anzahl"_qs, z.anzahl},
                                          {u"preis"_qs, z.preisCent},
                                          {u"betrag"_qs, z.betragCent}});
    }
    for (const StornoEintrag &s : stornos)
        stornoJson.append(QJsonObject{{u"id"_qs, s.id},
                                      {u"kasse_id"_qs, s.kasseId},
                                      {u"zeit_ms"_qs, s.zeit.ms},
                                      {u"offset_s"_qs, s.zeit.offsetS},
                                      {u"beleg_nummer"_qs, s.belegNummer},
                                      {u"taste"_qs, s.taste},
                                      {u"artikel"_qs, s.artikel},
                                      {u"anzahl"_qs, s.anzahl},
                                      {u"betrag"_qs, s.betragCent}});

    // A change of a receipt the server does not hold (one of an earlier
    // event elsewhere) is left out there.
    QJsonArray nachtragJson;
    for (const NachtragEintrag &n : nachtraege)
        nachtragJson.append(QJsonObject{{u"id"_qs, n.id},
                                        {u"beleg_id"_qs, n.belegId},
                                        {u"kasse_id"_qs, n.kasseId},
                                        {u"nr"_qs, n.lfd},
                                        {u"zeit_ms"_qs, n.zeit.ms},
                                        {u"offset_s"_qs, n.zeit.offsetS},
                                        {u"gegeben"_qs, Wahlweise(n.gegebenCent)},
                                        {u"rueckgeld"_qs, Wahlweise(n.rueckgeldCent)},
                                        {u"druck"_qs, int(n.druck)}});

    // What waits until the server answers; shown only if that takes a
    // while. Whatever the answer, its state is told afterwards.
    emit unterwegs(belege.size() + rest.belege, stornos.size() + rest.stornos, nachtragJson.size() + rest.nachtraege);
    m_letzteArt = -1;
    QSqlDatabase db = QSqlDatabase::database(m_server, false);
    const QString &name = m_veranstaltung.name;
    const QString &kasse = m_veranstaltung.kasse;
    qint64 angekommen = belege.size();
    {
        FristGuard frist(*m_frist, m_socket, m_optionen.antwortFristMs);
        if (!db.transaction())
            return -1;
        const bool ok = (belege.isEmpty()
                         || (Ausfuehren(db, kBelegSql, {name, kasse, Json(belegJson)})
                             && Ausfuehren(db, kZeilenSql, {Json(zeilenJson)})
                             && (angekommen = Zahl(db, QString::fromLatin1(kAngekommenSql), {Json(belegJson)})) >= 0))
            && (stornos.isEmpty() || Ausfuehren(db, kStornoSql, {name, kasse, Json(stornoJson)}))
            && (nachtragJson.isEmpty() || Ausfuehren(db, kNachtragSql, {Json(nachtragJson)}))
            && Ausfuehren(db, kStandSql, {m_kasseId, name, kasse, hoechste, stornoZahl,
                                          std::clamp<qint64>(wartend, 0, INT_MAX)});
        if (!ok || !db.commit()) {
            db.rollback();
            return -1;
        }
    }
    if (angekommen < belege.size())
        einmalMelden(QStringLiteral("nummer"),
                     QStringLiteral("Der Server kennt Bonnummern dieser Kasse schon von anderen Bons; "
                                    "%1 Bons fehlen deshalb auf dem Server. Bitte den Kassenwart fragen.")
                         .arg(belege.size() - angekommen));
    // Committed on the server: only now the marks move.
    m_stand = nachher;
    // A mark lost with a power cut only sends a batch again, which the server
    // takes once: during a catch-up the file is written once a second, so
    // its syncs leave the disk to the closes.
    m_standOffen = true;
    if (wartend == 0 || !m_standUhr.isValid() || m_standUhr.elapsed() >= 1000)
        standSpeichern();
    return int(belege.size() + stornos.size() + nachtraege.size());
}

void VersandArbeiter::standSpeichern()
{
    if (!m_standOffen)
        return;
    m_standUhr.start();
    m_standOffen = false;
    if (!VersandStandSpeichern(ProgrammDatei(m_ordner, kVersandDatei), m_stand))
        einmalMelden(QStringLiteral("datei"),
                     QStringLiteral("„%1“ kann nicht geschrieben werden. Die Kasse sendet weiter; nach "
                                    "einem Neustart sendet sie manche Bons noch einmal, der Server nimmt "
                                    "sie nur einmal.")
                         .arg(kVersandDatei));
}

void VersandArbeiter::berichtErstellen()
{
    if (!m_verbunden && (!journalOeffnen() || !verbinden())) {
        emit berichtFehlt(m_verbindungsFehler == Weiterleitungszustand::SchemaNeuer
                              ? QStringLiteral("Die Datenbank der Veranstaltung hat ein neueres Schema, als diese Kasse kennt.")
                              : QStringLiteral("Der Server der Veranstaltung ist nicht erreichbar."));
        if (!m_pause->isActive())
            spaeter(m_verbindungsFehler);
        return;
    }
    QString fehler;
    std::optional<VeranstaltungsZahlen> zahlen;
    {
        QSqlDatabase db = QSqlDatabase::database(m_server, false);
        FristGuard frist(*m_frist, m_socket, m_optionen.antwortFristMs);
        zahlen = VeranstaltungsZahlenLesen(db, m_veranstaltung.name, fehler);
    }
    if (!zahlen) {
        emit berichtFehlt(QStringLiteral("Der Server der Veranstaltung ist nicht erreichbar."));
        spaeter(Weiterleitungszustand::NichtErreichbar);
        return;
    }
    emit berichtBereit(*zahlen);
}

} // namespace zanti
