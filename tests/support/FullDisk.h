#pragma once
// A full disk for the tests of writing: a small tmpfs mounted on a temporary folder, which
// the test fills once the files it needs are in place. Only root may mount (CI runs as
// root); otherwise usable() is false and reason() says why, for QSKIP. The mount is made
// in a mount namespace of the test's own where the system allows it, so that it goes with
// the process whatever happens, and it is unmounted with the object in any case.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

class FullDisk {
public:
    explicit FullDisk(qint64 bytes = 1024 * 1024) {
        if (::geteuid() != 0) {
            reason_ = QStringLiteral("a small tmpfs can only be mounted by root (CI runs the tests as root)");
            return;
        }
        if (!dir_.isValid()) {
            reason_ = QStringLiteral("no temporary folder");
            return;
        }
        // Seen by this process and the programs it starts, not by the rest of the machine.
        if (::unshare(CLONE_NEWNS) == 0) ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) !=
            0) {
            reason_ =
                QStringLiteral("mount of a tmpfs failed: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mounted_ = true;
    }
    ~FullDisk() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool usable() const { return mounted_; }
    QString reason() const { return reason_; }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + u'/' + name; }

    // Takes every byte that is left.
    void fill() const {
        QFile filler(file(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.write(QByteArray(1, 'x')); // the last part of a page
    }

    // The names in the folder but the filler: what a write left behind.
    QStringList names() const {
        QStringList list = QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        list.removeAll(QStringLiteral("filler"));
        return list;
    }

private:
    QTemporaryDir dir_;
    QString reason_;
    bool mounted_ = false;
};
