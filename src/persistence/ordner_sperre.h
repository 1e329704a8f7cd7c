#pragma once
// One register per program folder. Two registers on one folder would empty
// each other's open receipt and write their counts and protocols over each
// other's. The lock is taken on the file kasse.lock in the folder before
// anything else there is opened, and held for the whole run. On Unix it is
// a lock of the system's (flock), which dies with the process: a register
// that crashed or lost its power never blocks the next start.
#include <QString>
#include <memory>

class QLockFile;

namespace zanti {

class OrdnerSperre
{
public:
    // Tries to take the lock; the file's content is never changed.
    explicit OrdnerSperre(const QString &programmordner);
    ~OrdnerSperre();
    OrdnerSperre(const OrdnerSperre &) = delete;
    OrdnerSperre &operator=(const OrdnerSperre &) = delete;

    // True when another register holds the folder. A folder where the lock
    // file cannot even be made (read-only) is not refused: no register can
    // write there anyway.
    bool belegt() const { return m_belegt; }

private:
    bool m_belegt = false;
#ifdef Q_OS_UNIX
    int m_datei = -1;
#else
    std::unique_ptr<QLockFile> m_sperre;
#endif
};

} // namespace zanti
