#pragma once
// A server that hangs (stopped, not gone) would keep the forwarder waiting
// in libpq forever: no timeout of libpq's covers a server whose kernel still
// answers. The worker sets a deadline around each call to the server; a
// watch on another thread shuts the connection's socket down once it has
// passed, and the waiting call returns with a lost connection.
#include <QtGlobal>
#include <mutex>

namespace zanti {

class Antwortfrist
{
public:
    // socket: the connection's descriptor; fristMs: from now.
    void setzen(int socket, int fristMs);
    void loesen();
    // From the watch: shuts the socket down when the deadline has passed,
    // or at once with sofort (the register closes). True when it did.
    bool pruefen(bool sofort = false);

private:
    std::mutex m_sperre;
    int m_socket = -1;
    qint64 m_frist = 0; // 0: no call under way
};

// Sets the deadline for one call and lifts it when the scope ends.
class FristGuard
{
public:
    FristGuard(Antwortfrist &frist, int socket, int fristMs) : m_frist(frist) { m_frist.setzen(socket, fristMs); }
    ~FristGuard() { m_frist.loesen(); }
    FristGuard(const FristGuard &) = delete;
    FristGuard &operator=(const FristGuard &) = delete;

private:
    Antwortfrist &m_frist;
};

} // namespace zanti
