#include "core/nebenher.h"

#include <sched.h>

namespace zanti {

namespace {

void *Ausfuehren(void *arbeit)
{
    (*static_cast<std::function<void()> *>(arbeit))();
    return nullptr;
}

} // namespace

Nebenher::Nebenher(std::function<void()> arbeit)
    : m_arbeit(std::move(arbeit))
{
    pthread_attr_t eigenschaften;
    pthread_attr_init(&eigenschaften);
#if defined(__GLIBC__)
    cpu_set_t kerne;
    CPU_ZERO(&kerne);
    const int hier = sched_getcpu();
    if (sched_getaffinity(0, sizeof kerne, &kerne) == 0 && hier >= 0 && CPU_COUNT(&kerne) > 1) {
        CPU_CLR(hier, &kerne);
        pthread_attr_setaffinity_np(&eigenschaften, sizeof kerne, &kerne);
    }
#endif
    m_laeuft = pthread_create(&m_faden, &eigenschaften, Ausfuehren, &m_arbeit) == 0;
    pthread_attr_destroy(&eigenschaften);
}

Nebenher::~Nebenher()
{
    abwarten();
}

void Nebenher::abwarten()
{
    if (m_laeuft) {
        pthread_join(m_faden, nullptr);
        m_laeuft = false;
    } else if (m_arbeit) {
        m_arbeit();
    }
    m_arbeit = nullptr;
}

} // namespace zanti
