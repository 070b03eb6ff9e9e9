#pragma once
// The help viewer's work that needs no window: reading its command line, naming a
// topic's anchor, and checking a help file before it is shown, so that a missing or
// unreadable file becomes a readable message instead of an empty window.

#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace help {

// What `ventrolux-help FILE [TOPIC]` was asked to show.
struct HelpRequest {
    QString file;             // exactly as given; may contain blanks
    std::optional<int> topic; // absent when not given or not a positive whole number
    QString topicArgument;    // the TOPIC argument as typed, for the warning about a bad one
    QStringList ignored;      // anything after TOPIC
};

using FileExists = std::function<bool(const QString&)>;

// True when the path names something on disk (file or folder).
bool pathExists(const QString& path);

// Reads the arguments that follow the program name. A caller that assembled the
// command line as one string may have split a path at its blanks; when the first
// argument names nothing on disk, the longest run of leading arguments that, joined
// with single blanks, does name something is taken as FILE instead.
HelpRequest parseArguments(const QStringList& args, const FileExists& exists = pathExists);

// A topic number: a positive whole number, blanks around it allowed.
std::optional<int> parseTopic(const QString& text);

// The anchor a help page gives topic N: the element with id "topic-N".
QString anchorForTopic(int topic);

enum class LoadStatus {
    Ok,
    NoFileGiven,
    NotFound,
    NotAFile,
    Unreadable,
    NotHelpText, // empty, binary, too large or not decodable as text
};

struct HelpFile {
    LoadStatus status = LoadStatus::NoFileGiven;
    QString path;     // absolute when a path was given
    QString html;     // the decoded document when status is Ok
    QString title;    // the document's <title>, or the file name when it has none
    QString language; // "en", "fr"…, from <html lang="…">; empty when not declared
    QString detail;   // the system's reason when the file could not be read

    bool ok() const { return status == LoadStatus::Ok; }
};

HelpFile loadHelpFile(const QString& path);

// The primary language subtag of an HTML document's <html lang="…">, lower case.
QString documentLanguage(const QString& html);

// The language of a help file before it is read: the program names its files by their
// language ("MOLV_ConceptsHelp_Fre.html"); any other name is in the language otherwise.
Language languageOfHelpFile(const QString& path, Language otherwise);

// The page shown, in the language, instead of a help file that cannot be shown.
QString errorPage(const HelpFile& file, Language language);

// The window title used with an error page.
QString errorTitle(Language language);

// Command-line usage, for --help and for the standard error stream.
QString usageText(Language language);

} // namespace help
