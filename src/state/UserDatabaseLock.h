#pragma once
// A lock file beside the user database that tells a second running copy of the
// desktop program that the database is in use. The lock holds the owner's process id;
// a lock left by a process that no longer runs is taken over silently.

#include <QLockFile>
#include <QString>
#include <memory>

class UserDatabaseLock {
public:
    // The lock file of a user database: "myData.db.lock" beside it.
    static QString lockPathFor(const QString& userDatabasePath);

    // Tries to take the lock. False when another running process holds it; otherId then
    // tells which process that is (0 when unknown).
    bool acquire(const QString& userDatabasePath, qint64* otherId = nullptr);
    bool held() const { return lock_ && lock_->isLocked(); }
    void release();

private:
    std::unique_ptr<QLockFile> lock_;
};

namespace modMain {
// Takes the user database's lock for this run; when another copy holds it, warns the
// user (both languages), who may go on (OK) or stop (Cancel ends the program).
void subWarnOfOtherCopy(UserDatabaseLock& lock);
} // namespace modMain
