#include "veranstaltung/antwortfrist.h"

#include <QDeadlineTimer>

#include <sys/socket.h>

namespace zanti {

namespace {

qint64 Jetzt()
{
    return QDeadlineTimer::current().deadline();
}

} // namespace

void Antwortfrist::setzen(int socket, int fristMs)
{
    std::lock_guard lock(m_sperre);
    m_socket = socket;
    m_frist = socket >= 0 ? Jetzt() + fristMs : 0;
}

void Antwortfrist::loesen()
{
    // Under the lock: once it is lifted, the watch can no longer touch a
    // descriptor that the worker may close and the system hand out anew.
    std::lock_guard lock(m_sperre);
    m_frist = 0;
}

bool Antwortfrist::pruefen(bool sofort)
{
    std::lock_guard lock(m_sperre);
    if (m_frist == 0 || m_socket < 0 || (!sofort && Jetzt() < m_frist))
        return false;
    ::shutdown(m_socket, SHUT_RDWR);
    m_frist = 0;
    return true;
}

} // namespace zanti
