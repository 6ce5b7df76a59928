// One writer per file. A lock file "<file>.lock" beside the file it guards says which
// running copy of the program writes it; a lock left by a copy that is no longer
// running (killed, crashed, the power gone) is taken over.
#pragma once

#include "common/message.h"

#include <QString>
#include <memory>

class QLockFile;

namespace ladya {

class FileLock {
public:
    // `path` is the guarded file, not the lock file.
    explicit FileLock(QString path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock, waiting up to `timeoutMs` for another copy to let it go. Within
    // one process a file locked already counts as locked again (a completion that
    // locks players.dat and then rewrites it). False only when another running copy
    // holds it: where no lock file can be made (a read-only folder) the write that
    // follows fails by itself and says why, so it is let through unlocked.
    bool tryLock(int timeoutMs = 0);
    bool isLocked() const { return m_held; }
    void unlock();

    // Who holds the lock, as the messages name it: "процесс 1234 (ladya)", or in
    // English "process 1234 (ladya)"; "" when nothing is known.
    QString holder(bool english = false) const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

// How long a rewrite of the player files waits for another copy's rewrite to end.
inline constexpr int DatabaseLockWaitMs = 5000;

// The text naming the copy that holds a file: "файл занят другой копией программы
// (процесс 1234 (ladya))".
QString lockedFileReason(const FileLock& lock);

// Shown when a tournament is opened that another copy of the program has open.
Message tournamentLockedMessage(const FileLock& lock);

} // namespace ladya
