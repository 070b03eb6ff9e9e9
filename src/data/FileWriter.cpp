#include "data/FileWriter.h"

#include "text/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Written to the system in pieces of this size: few calls, little memory.
constexpr qsizetype kBufferSize = 64 * 1024;

// What SQLite may leave beside a database it wrote under the temporary name.
constexpr std::array<const char*, 3> kSqliteCompanions{"-journal", "-wal", "-shm"};

QString systemReason(int error) {
    std::array<char, 256> buffer{};
    return QString::fromLocal8Bit(strerror_r(error, buffer.data(), buffer.size()));
}

// A hidden name of the program's with a random part, ending like the target (a reader of
// the folder sees what it will be); a database written by name ends in .db, as the data
// layer opens only such files.
QString temporaryName(const QString& landing, FileWriter::Content content) {
    static const QRegularExpression plainSuffix(QStringLiteral("^[A-Za-z0-9]{1,16}$"));
    const QString suffix = QFileInfo(landing).suffix();
    QString ending = plainSuffix.match(suffix).hasMatch() ? u'.' + suffix : QString();
    if (content == FileWriter::Content::ByName) ending = QStringLiteral(".db");
    return QFileInfo(landing).absolutePath() + QStringLiteral("/.ventrolux-") +
           QString::number(QRandomGenerator::global()->generate(), 16) + ending;
}

// The temporary files of the writer: the name, a random part and an extension.
const QRegularExpression& temporaryPattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\.ventrolux-[0-9a-f]+(\\.[A-Za-z0-9]+)?$"));
    return pattern;
}

// Temporary files that a killed program left in a folder: a file no writer holds locked is
// nobody's. A database's journal goes with it. The folder is looked through before each
// database, and once per process before other files, which may come by the thousand.
void removeLeftTemporaries(const QString& folder, FileWriter::Content content) {
    static std::mutex mutex;
    static QSet<QString> seen;
    {
        const std::lock_guard lock(mutex);
        if (content == FileWriter::Content::Bytes && seen.contains(folder)) return;
        seen.insert(folder);
    }
    const QStringList names =
        QDir(folder).entryList({QStringLiteral(".ventrolux-*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!temporaryPattern().match(name).hasMatch()) continue;
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.constData());
            for (const char* companion : kSqliteCompanions)
                ::unlink((path + companion).constData());
        }
        ::close(fd);
    }
}

} // namespace

// The writer as a device: writes land in the writer's buffer; a refused one is kept for
// commit() to raise.
class FileWriter::Device : public QIODevice {
public:
    explicit Device(FileWriter& writer) : writer_(writer) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (writer_.deviceError_ != 0) return -1;
        writer_.buffer_.append(data, size);
        if (writer_.buffer_.size() >= kBufferSize && !writer_.flushBuffer(writer_.deviceError_)) return -1;
        return size;
    }

private:
    FileWriter& writer_;
};

FileWriter::FileWriter(const QString& target, Language language, Content content,
                       pathguard::Replaces replaces)
    : target_(target), language_(language), content_(content) {
    if (const std::optional<QString> refused = pathguard::refusal(target, language, replaces))
        throw WriteFailure(target, QString(), *refused);
    landing_ = pathguard::landingPath(target);
    const QByteArray landing = QFile::encodeName(landing_);
    struct stat st {};
    const bool exists = ::stat(landing.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        if (content_ == Content::ByName) fail(EINVAL); // a database needs a file of its own
        fd_ = ::open(landing.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) fail(errno);
        buffer_.reserve(kBufferSize);
        return;
    }
    removeLeftTemporaries(QFileInfo(landing_).absolutePath(), content_);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = temporaryName(landing_, content_);
        fd_ =
            ::open(QFile::encodeName(temporary_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear(); // never created: nothing of ours to remove
        fail(error);
    }
    // Held while the file is written: a file of ours that no writer holds is one a killed
    // program left, which the next writer in the folder removes.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    // The new file keeps the permissions of the one it replaces.
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) fail(errno);
    // With Content::ByName the descriptor stays open but unused until commit(): SQLite's
    // locks end when any descriptor of the file closes, so none is closed while it writes.
    buffer_.reserve(kBufferSize);
}

FileWriter::~FileWriter() {
    if (!done_) discard();
}

void FileWriter::fail(int error) {
    discard();
    const QString reason = systemReason(error);
    throw WriteFailure(target_, reason, strings::text("file.write.failed", language_).arg(target_, reason));
}

bool FileWriter::flushBuffer(int& error) {
    const char* data = buffer_.constData();
    qsizetype left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        data += n;
        left -= n;
    }
    buffer_.clear();
    return true;
}

void FileWriter::write(const QByteArray& bytes) {
    write(bytes.constData(), bytes.size());
}

void FileWriter::write(const char* data, qsizetype size) {
    if (done_ || fd_ < 0) fail(EBADF);
    buffer_.append(data, size);
    int error = 0;
    if (buffer_.size() >= kBufferSize && !flushBuffer(error)) fail(error);
}

QIODevice& FileWriter::device() {
    if (!device_) device_ = std::make_unique<Device>(*this);
    return *device_;
}

void FileWriter::commit() {
    if (done_) fail(EBADF);
    if (deviceError_ != 0) fail(deviceError_);
    int error = 0;
    if (content_ == Content::Bytes && !flushBuffer(error)) fail(error);
    // A device or a pipe written in place: syncing means nothing to most of them.
    const bool inPlace = temporary_.isEmpty();
    if (::fsync(fd_) != 0 && !(inPlace && (errno == EINVAL || errno == EROFS || errno == ENOTSUP)))
        fail(errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) fail(errno);
    if (!temporary_.isEmpty()) {
        if (::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(landing_).constData()) != 0)
            fail(errno);
        // The rename itself reaches the disk with the folder; a folder that cannot be
        // synced still holds the whole new file.
        const int folder = ::open(QFile::encodeName(QFileInfo(landing_).absolutePath()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    temporary_.clear();
    done_ = true;
}

void FileWriter::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) {
        const QByteArray name = QFile::encodeName(temporary_);
        ::unlink(name.constData());
        if (content_ == Content::ByName)
            for (const char* companion : kSqliteCompanions)
                ::unlink((name + companion).constData());
    }
    temporary_.clear();
    done_ = true;
}
