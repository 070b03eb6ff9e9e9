#include "state/UserDatabaseLock.h"

#include "data/ProgramFiles.h"
#include "platform/Platform.h"

QString UserDatabaseLock::lockPathFor(const QString& userDatabasePath) {
    return userDatabasePath + QStringLiteral(".lock");
}

bool UserDatabaseLock::acquire(const QString& userDatabasePath, qint64* otherId) {
    lock_ = std::make_unique<QLockFile>(lockPathFor(userDatabasePath));
    // Only a dead owner makes a lock stale, however long a copy has been running.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return true;
    if (otherId) {
        QString host, app;
        if (!lock_->getLockInfo(otherId, &host, &app)) *otherId = 0;
    }
    return false;
}

void UserDatabaseLock::release() {
    if (lock_) lock_->unlock();
    lock_.reset();
}

namespace modMain {

void subWarnOfOtherCopy(UserDatabaseLock& lock) {
    const QString user = programfiles::userDatabasePath();
    qint64 other = 0;
    if (lock.acquire(user, &other)) return;
    const QString id = other > 0 ? QString::number(other) : QStringLiteral("?");
    const MsgResult answer = MsgBox(
        QStringLiteral(
            "Another copy of the program (process %1) is using the user database %2.\n"
            "Both copies can work at once, but a firm saved in one is not shown in the other until it "
            "is opened again. Press OK to go on, Cancel to stop.\n\n"
            "Une autre copie du programme (processus %1) utilise la base de données de l'utilisateur %2.\n"
            "Les deux copies peuvent travailler en même temps, mais une entreprise sauvegardée dans l'une "
            "n'apparaît dans l'autre qu'une fois rouverte. Appuyez sur OK pour continuer, sur Annuler pour "
            "arrêter.")
            .arg(id, user),
        MsgButtons::OKCancel, MsgIcon::Exclamation);
    if (answer != MsgResult::OK) EndProgram(0);
}

} // namespace modMain
