#pragma once
// A piece of work on a thread of its own, while the calling thread goes on.
// The thread starts on a core other than the caller's, where the machine has
// one: a new thread placed on the caller's core takes that core from the
// caller for as long as the other core needs to wake up, and the start of
// the register is what waits then.
#include <functional>

#include <pthread.h>

namespace zanti {

class Nebenher
{
public:
    explicit Nebenher(std::function<void()> arbeit);
    // Waits for the work.
    ~Nebenher();
    Nebenher(const Nebenher &) = delete;
    Nebenher &operator=(const Nebenher &) = delete;

    // Returns when the work is done; without a thread it is done here.
    void abwarten();

private:
    std::function<void()> m_arbeit;
    pthread_t m_faden{};
    bool m_laeuft = false;
};

// A value worked out on such a thread.
template <typename T>
class Vorab
{
public:
    explicit Vorab(std::function<T()> rechnen)
        : m_lauf([this, rechnen = std::move(rechnen)] { m_wert = rechnen(); })
    {
    }
    // Waits for the value, once.
    T holen()
    {
        m_lauf.abwarten();
        return std::move(m_wert);
    }

private:
    // Before the thread: the value is there when the thread writes it.
    T m_wert{};
    Nebenher m_lauf;
};

} // namespace zanti
