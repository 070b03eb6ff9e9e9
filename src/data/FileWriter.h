#pragma once
// The one way the program writes a file: exports, summaries, reports in every format,
// reference data, the user database itself. The bytes go to a new temporary file in the
// target's folder; every write is checked, then the file is flushed and synced to the
// disk, and only then renamed over the target, so that a reader sees the old file or the
// new one, whole. A failure at any step removes the temporary file, leaves an earlier file
// of that name byte for byte as it was, and is raised as a WriteFailure naming the file and
// the system's reason in the user's language. A target that is, or resolves to, one of the
// program's own databases is refused before anything is written.
//
// A caller streams into it: open (the constructor), write as often as needed, commit. A
// device or pipe (/dev/stdout) has no earlier content to keep: it is written in place,
// each write checked all the same.

#include "data/PathGuard.h"
#include "platform/Platform.h"
#include "text/Language.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

// A file that could not be written whole; the description is the user's message. Nothing
// was put in the target's place.
class WriteFailure : public RecoverableFailure {
public:
    WriteFailure(const QString& path, const QString& reason, const QString& description)
        : RecoverableFailure(errnum::PathNotFound, description), path_(path), reason_(reason) {}
    const QString& path() const { return path_; }
    // The system's reason; empty for a target refused as one of the program's databases.
    const QString& reason() const { return reason_; }

private:
    QString path_;
    QString reason_;
};

class FileWriter {
public:
    // How the content reaches the disk: through write() and device(), or written by
    // another library under temporaryPath() (a database built by SQLite), which must have
    // closed the file before commit().
    enum class Content { Bytes, ByName };

    // Creates the temporary file. A WriteFailure when the target is one of the program's
    // databases (other than the one replaces names) or the file cannot be created.
    FileWriter(const QString& target, Language language, Content content = Content::Bytes,
               pathguard::Replaces replaces = pathguard::Replaces::Nothing);
    // Removes the temporary file when commit() was not reached.
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Appends bytes; a WriteFailure as soon as the system refuses them.
    void write(const QByteArray& bytes);
    void write(const char* data, qsizetype size);

    // The file as a device for a writer that takes one (a PDF writer): a failure is kept
    // and raised by commit(), since such writers do not look at what a write returns.
    QIODevice& device();

    // The temporary file's name, for Content::ByName; it ends like the target's name.
    QString temporaryPath() const { return temporary_; }

    // Flushes, syncs and renames the file into place; a WriteFailure when any step fails.
    void commit();

    // Removes the temporary file; the target stays as it was.
    void discard() noexcept;

    const QString& target() const { return target_; }

private:
    class Device;
    [[noreturn]] void fail(int error);
    bool flushBuffer(int& error);

    QString target_;    // as the caller named it, for the messages
    QString landing_;   // where the file goes: links followed
    QString temporary_; // empty when written in place
    Language language_;
    Content content_;
    int fd_ = -1;
    QByteArray buffer_;
    int deviceError_ = 0; // the first failure of a write through device()
    std::unique_ptr<Device> device_;
    bool done_ = false;
};
