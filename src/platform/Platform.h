#pragma once
// The one seam between the program and what a test must script: message boxes,
// the end of the program, starting another process, the printer and file choosers. The desktop
// program installs the real thing; the command-line tool writes messages to
// standard error; tests install a recorder that answers from a queue.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgResult { OK, Cancel, Yes, No };
// A file the user picks to read from, or names to write to.
enum class FileChoice { Open, Save };

class QPagedPaintDevice;

class Platform {
public:
    virtual ~Platform() = default;
    virtual MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) = 0;
    // Ends the process at once. Must not return.
    [[noreturn]] virtual void endProgram(int exitCode) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;

    // The printer a document goes to: the system's default printer by its name, or
    // nothing when no printer is connected. A platform without printing has none.
    virtual std::optional<QString> printerTarget() { return std::nullopt; }
    // Prints one document on the printer target: paint draws its pages on the device
    // (a new page through the device's newPage()). False when there is no printer, so
    // nothing was printed.
    virtual bool printDocument(const QString& documentName,
                               const std::function<void(QPagedPaintDevice&)>& paint) {
        (void)documentName;
        (void)paint;
        return false;
    }

    // Asks the user for a file: one that exists (Open) or a name to write (Save, which
    // asks before replacing a file), starting at startPath, offering the files that
    // filter names ("Firm files (*.json *.csv)"). Nothing when the user cancels; a
    // platform without windows has no chooser.
    virtual std::optional<QString> chooseFile(FileChoice kind, const QString& caption,
                                              const QString& startPath, const QString& filter) {
        (void)kind;
        (void)caption;
        (void)startPath;
        (void)filter;
        return std::nullopt;
    }

    // The busy pointer while the program waits on something outside it (a database
    // server): shown by the first of nested waits, taken away by the last. A platform
    // without windows has none.
    virtual void showBusy(bool busy) { (void)busy; }

    // True for a program without windows, whose user acts through its command line: the
    // advice a message gives names options there, menus in the desktop program.
    virtual bool isCommandLine() const { return false; }
};

// The installed platform. Without one, messages go to standard error and the end is std::_Exit.
Platform& platform();
// Installs a platform (not owned); nullptr restores the default. Returns the previous one.
Platform* setPlatform(Platform* p);

// The title of message boxes that have no title of their own.
QString applicationTitle();

MsgResult MsgBox(const QString& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                 const QString& title = QString());
[[noreturn]] void EndProgram(int exitCode);

std::optional<QString> ChooseFile(FileChoice kind, const QString& caption, const QString& startPath,
                                  const QString& filter);

// The busy pointer for as long as it lives; waits may nest.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// A failure the program does not trap (database, conversion, process launch): it
// travels to the top of the event loop, which reports "Run-time error N: …" and ends.
class FatalError : public std::runtime_error {
public:
    FatalError(int number, const QString& description);
    int number() const { return number_; }
    QString description() const { return description_; }
    QString report() const; // "Run-time error N: description"

private:
    int number_;
    QString description_;
};

// A failure the user can act on and the program outlives: a database server out of
// reach, a password it refuses, a file another copy keeps locked. Its own type, not a kind
// of FatalError nor of std::exception, so that no catch of those takes it for the end of
// the program: the handler's edge shows the description (already in the user's
// language) and the program goes on. What became of the user's work the description says.
class RecoverableFailure {
public:
    RecoverableFailure(int number, const QString& description) : number_(number), description_(description) {}
    virtual ~RecoverableFailure() = default;
    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers of the untrapped failures.
namespace errnum {
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PathNotFound = 76;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DatabaseError = 3146;
inline constexpr int InvalidTableName = 3265;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int InternalError = 51;
inline constexpr int NewerSchema = 3343;       // a file written by a newer version
inline constexpr int ServerUnavailable = 3709; // the records server cannot serve a request
} // namespace errnum

// Shows the fatal error report and ends the program with exit code 1.
[[noreturn]] void ReportFatalError(const FatalError& e);

// What a platform that cannot end the process (the tests' recorder) throws from
// endProgram. The handler boundary stops it there, so that it never crosses Qt's
// signal or event code; the platform itself notes that the program ended.
struct ProgramEndRequest {
    int exitCode;
};

// Shows a recoverable failure as a warning; the program goes on.
void ShowRecoverableFailure(const RecoverableFailure& failure);

// Runs one event handler of a screen. A FatalError it raises is reported here, at the
// handler's edge, and ends the program: nothing unwinds through Qt's signal code. A
// RecoverableFailure is shown as a warning and the program goes on.
void runHandler(const std::function<void()>& handler) noexcept;
