#include "prozess.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zanti::bench {

namespace {

qint64 JetztNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

Kindbericht KindAusfuehren(const QString &programm, const QStringList &umgebung,
                           const QString &stderrDatei, int fristMs,
                           const std::function<void()> &nebenher)
{
    Kindbericht bericht;
    int rohr[2];
    if (::pipe2(rohr, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return bericht;
    }
    const QByteArray pfad = QFile::encodeName(programm);
    const QByteArray fehlerPfad = QFile::encodeName(stderrDatei);
    QList<QByteArray> zusatz;
    for (const QString &eintrag : umgebung)
        zusatz << eintrag.toLocal8Bit();
    std::vector<char *> env;
    for (char **e = environ; *e; ++e)
        env.push_back(*e);
    for (QByteArray &eintrag : zusatz)
        env.push_back(eintrag.data());
    env.push_back(nullptr);
    char *argv[] = {const_cast<char *>(pfad.constData()), nullptr};

    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, rohr[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&aktionen, STDERR_FILENO, fehlerPfad.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t kind = 0;
    bericht.startNs = JetztNs();
    const int start = posix_spawn(&kind, pfad.constData(), &aktionen, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&aktionen);
    ::close(rohr[1]);
    if (start != 0) {
        std::fprintf(stderr, "# cannot start %s: %s\n", pfad.constData(), std::strerror(start));
        ::close(rohr[0]);
        return bericht;
    }

    QByteArray ausgabe;
    const qint64 frist = bericht.startNs + qint64(fristMs) * 1000000;
    bool offen = true;
    while (offen && JetztNs() < frist) {
        pollfd p{rohr[0], POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            char puffer[4096];
            const ssize_t n = ::read(rohr[0], puffer, sizeof puffer);
            if (n > 0)
                ausgabe.append(puffer, n);
            else if (n == 0 || errno != EINTR)
                offen = false;
        }
        if (nebenher)
            nebenher();
    }
    ::close(rohr[0]);
    if (offen) {
        std::fprintf(stderr, "# %s did not finish within %d ms\n", pfad.constData(), fristMs);
        ::kill(kind, SIGKILL);
    }
    int status = 0;
    while (::waitpid(kind, &status, 0) < 0 && errno == EINTR) {
    }
    bericht.beendet = !offen && WIFEXITED(status);
    for (const QByteArray &zeile : ausgabe.split('\n')) {
        const QList<QByteArray> teile = zeile.split(' ');
        if (teile.size() == 2)
            bericht.werte.insert(QString::fromLatin1(teile[0]), teile[1].toLongLong());
    }
    return bericht;
}

bool ProgrammAblegen(const QString &quelle, const QString &ziel)
{
    QFile::remove(ziel);
    if (::link(QFile::encodeName(quelle).constData(), QFile::encodeName(ziel).constData()) == 0)
        return true;
    return QFile::copy(quelle, ziel) && QFile::setPermissions(ziel, QFile::permissions(quelle));
}

} // namespace zanti::bench
