#include "boden/boden_fenster.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlTableModel>
#include <QTableView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTime>

#include <atomic>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace zanti::bench {

namespace {

constexpr int kTasten = 60;
constexpr int kArtikel = 35;
constexpr int kSichtbareZeilen = 100;

qint64 Preis(int taste)
{
    return 150 + (taste * 37 % 12) * 50;
}

QString Betrag(qint64 cent)
{
    return QStringLiteral("%1,%2").arg(cent / 100).arg(cent % 100, 2, 10, QLatin1Char('0'));
}

// "12,5" -> 1250; the numbers of verkauf.ini.
qint64 ZahlLesen(const QByteArray &text)
{
    const QList<QByteArray> teile = text.trimmed().split(',');
    QByteArray nachkomma = teile.value(1).left(2);
    while (nachkomma.size() < 2)
        nachkomma += '0';
    return teile.value(0).toLongLong() * 100 + nachkomma.toLongLong();
}

QByteArray ZahlSchreiben(qint64 cent)
{
    QByteArray text = QByteArray::number(cent / 100);
    if (cent % 100) {
        text += ',' + QByteArray::number(cent % 100).rightJustified(2, '0');
        if (text.endsWith('0'))
            text.chop(1);
    }
    return text;
}

void Ausfuehren(QSqlQuery &abfrage, const QString &sql)
{
    if (!abfrage.exec(sql))
        std::fprintf(stderr, "# floor: %s: %s\n", qPrintable(sql),
                     qPrintable(abfrage.lastError().text()));
}

} // namespace

BodenFenster::BodenFenster(const QString &ordner, QWidget *eltern)
    : QWidget(eltern), m_ordner(ordner)
{
    setObjectName(QStringLiteral("Boden"));
    setWindowTitle(QStringLiteral("Boden"));
    datenbankOeffnen();
    protokollLesen();

    auto *tasten = new QGridLayout;
    for (int i = 1; i <= kTasten; ++i) {
        QPushButton *knopf;
        if (i <= kArtikel) {
            knopf = new QPushButton(QStringLiteral("Artikel %1\n%2").arg(i).arg(Betrag(Preis(i))));
            knopf->setObjectName(QStringLiteral("Command%1").arg(i));
            connect(knopf, &QPushButton::clicked, this, [this, i] { buchen(i); });
        } else if (i == kTasten) {
            knopf = new QPushButton(QStringLiteral("="));
            knopf->setObjectName(QStringLiteral("IstgleichTaste"));
            connect(knopf, &QPushButton::clicked, this, &BodenFenster::abschliessen);
        } else {
            knopf = new QPushButton(QString::number(i));
        }
        knopf->setFocusPolicy(Qt::NoFocus);
        knopf->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        tasten->addWidget(knopf, (i - 1) / 6, (i - 1) % 6);
    }

    auto *tabelle = new QTableView;
    tabelle->setObjectName(QStringLiteral("DataGrid1"));
    tabelle->setModel(m_modell);
    for (int spalte : {0, 4, 5})
        tabelle->setColumnHidden(spalte, true);
    tabelle->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto *rechts = new QVBoxLayout;
    rechts->addWidget(tabelle, 1);
    rechts->addWidget(m_box, 1);
    auto *ganz = new QHBoxLayout(this);
    ganz->addLayout(tasten, 3);
    ganz->addLayout(rechts, 2);
}

BodenFenster::~BodenFenster()
{
    delete m_modell;
    m_einfuegen = QSqlQuery();
    QSqlDatabase::database(m_verbindung, false).close();
    QSqlDatabase::removeDatabase(m_verbindung);
}

void BodenFenster::datenbankOeffnen()
{
    static std::atomic<int> nummer{0};
    m_verbindung = QStringLiteral("boden_%1").arg(++nummer);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
    db.setDatabaseName(QDir(m_ordner).filePath(QStringLiteral("daten.db")));
    if (!db.open())
        std::fprintf(stderr, "# floor: daten.db: %s\n", qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    Ausfuehren(q, QStringLiteral("PRAGMA journal_mode=WAL"));
    Ausfuehren(q, QStringLiteral("PRAGMA synchronous=NORMAL"));
    Ausfuehren(q, QStringLiteral("CREATE TABLE IF NOT EXISTS Bon (Autowert INTEGER PRIMARY KEY "
                                 "AUTOINCREMENT, Anzahl TEXT, Artikel TEXT, Preis TEXT, "
                                 "Tastennr INTEGER, BonId INTEGER)"));
    Ausfuehren(q, QStringLiteral("DELETE FROM Bon"));
    m_einfuegen = QSqlQuery(db);
    m_einfuegen.prepare(QStringLiteral(
        "INSERT INTO Bon (Anzahl, Artikel, Preis, Tastennr, BonId) VALUES ('1', ?, ?, ?, ?)"));
    m_modell = new QSqlTableModel(nullptr, db);
    m_modell->setTable(QStringLiteral("Bon"));
    m_modell->select();
}

void BodenFenster::protokollLesen()
{
    QFile datei(QDir(m_ordner).filePath(QStringLiteral("protokoll.txt")));
    QByteArray alles;
    if (datei.open(QIODevice::ReadOnly))
        alles = datei.readAll();
    m_zeilen = alles.count('\n');
    // Newest line first: the box needs only the head of the file.
    qsizetype ende = 0;
    for (int i = 0; i < kSichtbareZeilen && ende < alles.size(); ++i) {
        const qsizetype lf = alles.indexOf('\n', ende);
        ende = lf < 0 ? alles.size() : lf + 1;
    }
    // The lines of the register's protocol are Latin-1 clean.
    const QString kopf = QString::fromLatin1(alles.left(ende)).remove(u'\r');
    m_protokoll = {alles};

    m_box = new QPlainTextEdit;
    m_box->setObjectName(QStringLiteral("Protokoll"));
    m_box->setReadOnly(true);
    m_box->setPlainText(kopf.endsWith(u'\n') ? kopf.chopped(1) : kopf);

    QFile verkauf(QDir(m_ordner).filePath(QStringLiteral("verkauf.ini")));
    if (verkauf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &zeile : verkauf.readAll().split('\n')) {
            const qsizetype gleich = zeile.indexOf('=');
            const int taste = zeile.startsWith("Taste") ? zeile.mid(5, gleich - 5).toInt() : 0;
            if (gleich > 0 && taste >= 1 && taste <= 36)
                m_verkauft[taste] = ZahlLesen(zeile.mid(gleich + 1));
        }
    }
    QFile einstellungen(QDir(m_ordner).filePath(QStringLiteral("Einstellungen.ini")));
    if (einstellungen.open(QIODevice::ReadOnly))
        m_einstellungen = einstellungen.readAll();
}

void BodenFenster::buchen(int taste)
{
    const QString artikel = QStringLiteral("Artikel %1").arg(taste);
    const qint64 preis = Preis(taste);
    m_einfuegen.addBindValue(artikel);
    m_einfuegen.addBindValue(Betrag(preis));
    m_einfuegen.addBindValue(taste);
    m_einfuegen.addBindValue(m_zeilen);
    if (!m_einfuegen.exec())
        std::fprintf(stderr, "# floor: booking: %s\n", qPrintable(m_einfuegen.lastError().text()));
    m_modell->select();
    m_offen[taste] += 100;
    m_offen[36] += preis;

    const QString zeile = QStringLiteral("%1 %2  1 x %3   %4")
                              .arg(m_zeilen++)
                              .arg(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")),
                                   artikel, Betrag(preis));
    m_neueZeilen.prepend(zeile.toLatin1() + "\r\n");
    QTextCursor cursor(m_box->document());
    cursor.insertText(zeile + u'\n');
    if (m_box->document()->blockCount() > kSichtbareZeilen) {
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::PreviousBlock);
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void BodenFenster::abschliessen()
{
    QSqlQuery q(QSqlDatabase::database(m_verbindung, false));
    Ausfuehren(q, QStringLiteral("PRAGMA synchronous=FULL"));
    Ausfuehren(q, QStringLiteral("BEGIN IMMEDIATE"));
    Ausfuehren(q, QStringLiteral("DELETE FROM Bon"));
    Ausfuehren(q, QStringLiteral("COMMIT"));
    Ausfuehren(q, QStringLiteral("PRAGMA synchronous=NORMAL"));
    m_modell->select();

    for (int i = 1; i <= 36; ++i)
        m_verkauft[i] += std::exchange(m_offen[i], 0);
    if (!m_neueZeilen.isEmpty())
        m_protokoll.prepend(std::exchange(m_neueZeilen, {}));
    speichern(QStringLiteral("protokoll.txt"), m_protokoll);
    speichern(QStringLiteral("verkauf.ini"), {verkaufInhalt()});
    speichern(QStringLiteral("Einstellungen.ini"), {m_einstellungen});
}

bool BodenFenster::speichern(const QString &name, const QList<QByteArray> &teile) const
{
    // Temporary file, flush, fdatasync, rename, fsync of the folder.
    const QString pfad = QDir(m_ordner).filePath(name);
    QSaveFile datei(pfad);
    bool ok = datei.open(QIODevice::WriteOnly);
    for (const QByteArray &teil : teile)
        ok = ok && datei.write(teil) == teil.size();
    ok = ok && datei.flush() && ::fdatasync(datei.handle()) == 0;
    if (!ok) {
        datei.cancelWriting();
    } else if ((ok = datei.commit())) {
        const int fd = ::open(QFile::encodeName(m_ordner).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    if (!ok)
        std::fprintf(stderr, "# floor: %s not written\n", qPrintable(name));
    return ok;
}

QByteArray BodenFenster::verkaufInhalt() const
{
    QByteArray inhalt = "[verkauft]\r\n";
    for (int i = 1; i <= 36; ++i)
        inhalt += "Taste" + QByteArray::number(i) + '=' + ZahlSchreiben(m_verkauft[i]) + "\r\n";
    return inhalt;
}

} // namespace zanti::bench
