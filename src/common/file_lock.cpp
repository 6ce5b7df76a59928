#include "common/file_lock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>

namespace ladya {

namespace {

// The files this process holds, with how many FileLocks hold each.
QHash<QString, int>& heldHere() {
    static QHash<QString, int> held;
    return held;
}

QString lockPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath() + QStringLiteral(".lock");
}

// QLockFile takes a lock whose recorded program name differs from the running
// process's for a lock of a recycled process id, and so for any lock written without a
// name: a process without an application object (a test, a tool) names itself.
void ensureApplicationName() {
    if (!QCoreApplication::applicationName().isEmpty())
        return;
#ifdef Q_OS_LINUX
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    QCoreApplication::setApplicationName(QFileInfo(exe).fileName());
#endif
}

// A copy killed between creating its lock file and writing who it is leaves the file
// empty, and QLockFile never takes a lock of unknown holder for stale. Once such a file
// is older than any such write takes, it is removed as stale (which fails while a live
// holder still has it open and locked).
bool takeOverEmptyLock(QLockFile& lock, const QString& lockPath) {
    qint64 pid = 0;
    QString host;
    QString app;
    const QFileInfo file(lockPath);
    if (!file.exists() || lock.getLockInfo(&pid, &host, &app) ||
        file.lastModified().msecsTo(QDateTime::currentDateTime()) < 1000)
        return false;
    return lock.removeStaleLockFile();
}

} // namespace

FileLock::FileLock(QString path) : m_path(lockPath(path)) {}

FileLock::~FileLock() {
    unlock();
}

bool FileLock::tryLock(int timeoutMs) {
    if (m_held)
        return true;
    // No file can have such a name (the system would cut it at the NUL and lock
    // another file): the write fails by itself.
    if (m_path.contains(QChar(0)))
        return true;
    if (int& count = heldHere()[m_path]; count > 0) {
        ++count;
        m_held = true;
        return true;
    }
    ensureApplicationName();
    m_lock = std::make_unique<QLockFile>(m_path);
    // A tournament stays open for hours: only a holder that is gone makes a lock stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(timeoutMs) &&
        !(takeOverEmptyLock(*m_lock, m_path) && m_lock->tryLock(0))) {
        heldHere().remove(m_path);
        return m_lock->error() != QLockFile::LockFailedError;
    }
    heldHere()[m_path] = 1;
    m_held = true;
    return true;
}

void FileLock::unlock() {
    if (!m_held)
        return;
    m_held = false;
    int& count = heldHere()[m_path];
    if (--count > 0)
        return;
    heldHere().remove(m_path);
    if (m_lock)
        m_lock->unlock();
}

QString FileLock::holder(bool english) const {
    qint64 pid = 0;
    QString host;
    QString app;
    QLockFile probe(m_path);
    if (!probe.getLockInfo(&pid, &host, &app))
        return QString();
    const QString process = english ? QStringLiteral("process") : QStringLiteral("процесс");
    return app.isEmpty() ? QStringLiteral("%1 %2").arg(process, QString::number(pid))
                         : QStringLiteral("%1 %2 (%3)").arg(process, QString::number(pid), app);
}

QString lockedFileReason(const FileLock& lock) {
    const QString holder = lock.holder();
    return holder.isEmpty() ? QStringLiteral("файл занят другой копией программы")
                            : QStringLiteral("файл занят другой копией программы (%1)").arg(holder);
}

Message tournamentLockedMessage(const FileLock& lock) {
    const QString holder = lock.holder();
    QString text = QStringLiteral("Турнир уже открыт в другой копии программы");
    if (!holder.isEmpty())
        text += QStringLiteral("\n(%1)").arg(holder);
    return {QStringLiteral("Ошибка"), text};
}

} // namespace ladya
