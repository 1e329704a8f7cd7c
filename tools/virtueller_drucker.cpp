// The virtual receipt printer: a pseudo-terminal that reads what the register
// sends, writes every cut receipt as bon-0001.txt, bon-0002.txt, ... and shows
// it, notes drawer pulses, and answers "GS a n" with the status block 20 0 0 0.
//
//   virtueller_drucker [--ausgabe DIR] [--link PATH]
//
// Line 1 of stdout is the device the register should open; --link also makes
// PATH a symbolic link to it, so schnittstellen.ini can name a stable path.
#include "escpos/escpos_decoder.h"
#include "printing/escpos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

int g_signalRohr[2] = {-1, -1};

void SignalBehandeln(int)
{
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalRohr[1], &b, 1);
}

void Ausgeben(const QString &text)
{
    QTextStream out(stdout);
    out << text << Qt::endl;
}

void Fehler(const QString &text)
{
    QTextStream err(stderr);
    err << "virtueller_drucker: " << text << Qt::endl;
}

// The next free number, so a second run never overwrites older receipts.
int NaechsteNummer(const QDir &ordner)
{
    static const QRegularExpression muster(QStringLiteral("^bon-(\\d+)\\.txt$"));
    int hoechste = 0;
    const QStringList namen = ordner.entryList({QStringLiteral("bon-*.txt")}, QDir::Files);
    for (const QString &name : namen) {
        const auto treffer = muster.match(name);
        if (treffer.hasMatch())
            hoechste = std::max(hoechste, treffer.captured(1).toInt());
    }
    return hoechste + 1;
}

class Drucker
{
public:
    Drucker(int master, const QDir &ausgabe) : m_master(master), m_ausgabe(ausgabe)
    {
        m_nummer = NaechsteNummer(ausgabe);
    }

    void lesen()
    {
        char puffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, puffer, sizeof puffer);
            if (n > 0) {
                verarbeiten(QByteArray(puffer, int(n)));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            // EAGAIN: all read. EIO cannot happen while our own slave fd is
            // open; should it, the next notification tries again.
            return;
        }
    }

private:
    void verarbeiten(const QByteArray &bytes)
    {
        const int status = m_decoder.statusAnfragen();
        const int impulse = m_decoder.schubladenImpulse();
        m_decoder.einspeisen(bytes);
        for (int i = status; i < m_decoder.statusAnfragen(); ++i)
            antworten(zanti::escpos::StatusBereit());
        for (int i = impulse; i < m_decoder.schubladenImpulse(); ++i)
            Ausgeben(QStringLiteral("[Schublade: Impuls %1]").arg(i + 1));
        const QStringList bons = m_decoder.fertigeBons();
        for (const QString &bon : bons)
            ablegen(bon);
    }

    void antworten(const QByteArray &antwort)
    {
        qsizetype gesendet = 0;
        while (gesendet < antwort.size()) {
            const ssize_t n = ::write(m_master, antwort.constData() + gesendet,
                                      size_t(antwort.size() - gesendet));
            if (n > 0)
                gesendet += n;
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                return;
        }
    }

    void ablegen(const QString &bon)
    {
        const QString name = QStringLiteral("bon-%1.txt").arg(m_nummer++, 4, 10, QLatin1Char('0'));
        QFile datei(m_ausgabe.filePath(name));
        if (datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
            datei.write(bon.toUtf8() + '\n');
        else
            Fehler(QStringLiteral("%1 kann nicht geschrieben werden").arg(datei.fileName()));
        Ausgeben(QStringLiteral("----- %1 -----").arg(name));
        Ausgeben(bon);
        Ausgeben(QStringLiteral("-----"));
    }

    int m_master;
    QDir m_ausgabe;
    int m_nummer = 1;
    EscPosDecoder m_decoder;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString ausgabe = QDir::currentPath();
    QString link;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--ausgabe") && i + 1 < args.size()) {
            ausgabe = args[++i];
        } else if (args[i] == QLatin1String("--link") && i + 1 < args.size()) {
            link = args[++i];
        } else {
            Fehler(QStringLiteral("Aufruf: virtueller_drucker [--ausgabe ORDNER] [--link PFAD]"));
            return 2;
        }
    }
    QDir ausgabeOrdner(ausgabe);
    if (!ausgabeOrdner.exists() && !QDir().mkpath(ausgabe)) {
        Fehler(QStringLiteral("Ordner %1 fehlt").arg(ausgabe));
        return 1;
    }

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        Fehler(QStringLiteral("kein Pseudo-Terminal: %1").arg(QString::fromLocal8Bit(strerror(errno))));
        return 1;
    }
    const char *slaveName = ::ptsname(master);
    if (!slaveName) {
        Fehler(QStringLiteral("ptsname fehlgeschlagen"));
        return 1;
    }
    const QString slavePfad = QString::fromLocal8Bit(slaveName);
    // Our own slave fd keeps the terminal alive while no register has it open.
    const int slave = ::open(slaveName, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        Fehler(QStringLiteral("%1 kann nicht geöffnet werden").arg(slavePfad));
        return 1;
    }
    termios roh{};
    if (::tcgetattr(slave, &roh) == 0) {
        ::cfmakeraw(&roh);
        ::cfsetispeed(&roh, B9600);
        ::cfsetospeed(&roh, B9600);
        ::tcsetattr(slave, TCSANOW, &roh);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!link.isEmpty()) {
        const QByteArray linkPfad = QFile::encodeName(link);
        // A link left by an earlier run goes; a real file there stays.
        if (QFileInfo(link).isSymLink())
            ::unlink(linkPfad.constData());
        if (::symlink(slaveName, linkPfad.constData()) != 0) {
            Fehler(QStringLiteral("Verweis %1 kann nicht angelegt werden").arg(link));
            link.clear();
        }
    }

    Ausgeben(slavePfad);

    if (::pipe(g_signalRohr) == 0) {
        struct sigaction sa{};
        sa.sa_handler = SignalBehandeln;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }
    QSocketNotifier signalMelder(g_signalRohr[0], QSocketNotifier::Read);
    QObject::connect(&signalMelder, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    Drucker drucker(master, ausgabeOrdner);
    QSocketNotifier lesenMelder(master, QSocketNotifier::Read);
    QObject::connect(&lesenMelder, &QSocketNotifier::activated, [&drucker] { drucker.lesen(); });

    const int ergebnis = app.exec();

    if (!link.isEmpty())
        ::unlink(QFile::encodeName(link).constData());
    ::close(slave);
    ::close(master);
    return ergebnis;
}
