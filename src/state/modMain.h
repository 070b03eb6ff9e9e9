#pragma once
// The program's global state: the language, the two open database connections and
// what the user's dataset choice fixed. Every screen reads it here.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <cstdint>
#include <string_view>

namespace modMain {

inline int16_t gintLanguage = 0; // 0 English, any other value French
inline Connection gcnData;       // reference database, read only
inline Connection gcnMyData;     // user database (the records: see RecordsPlace.h)
inline QString gstrDataTable;    // chosen dataset table of the current year
inline int16_t gintVolume = 0;
inline QString gstrRegion;
inline QString gstrNAICSTable;     // industry description table of the chosen dataset
inline QString gstrDatasetCaption; // caption of the chosen dataset option, in the language of the choice
inline QString gstrHelpExe;        // the help viewer beside the running executable

// The language of the state's flag: the view of gintLanguage that the core takes.
Language language();
// The string-table entry N, or the program's own text under key, in the current language.
QString Txt(int entry);
QString Txt(std::string_view key);
bool IsFrench();

// Sets gstrDataTable, gintVolume, gstrRegion and gstrNAICSTable from an option's control name.
void subSetDataTable(const QString& strOptionName);
// Puts the chosen dataset's caption, in the current language, into gstrDatasetCaption: a
// language switch made on any screen renames the dataset in every title.
void subCaptionChosenDataset();

// Starts the help viewer on the concepts ("Contents") or technical ("Tech") help file.
void subLaunchHelpFile(const QString& strHelpType);
// Opens a help file of the program directory at a numbered topic.
void GetHelpTopic(const QString& helpFile, int helpTopic);

// Resets every global to its start value (for tests and for a second start in one process).
void resetState();

} // namespace modMain

namespace modMain {
// Opens the reference database read-only and the user database (created when it does
// not exist yet, upgraded when older), both from the program's files. A missing or
// unreadable reference database, or one without the tables the program reads, ends
// the program with a message naming the file. The desktop program also requires the
// 19 dataset tables of the current year; the command-line tool refuses a dataset
// without its table when it is asked for. The user database is read whole only after a
// run that did not end cleanly, before an upgrade, or when checkWhole asks for it. False
// when the user database was found damaged (and replaced, as the user is told).
bool subOpenDatabases(bool requireCurrentDatasets = false, bool checkWhole = false);

// Closes the databases and notes that this run ended cleanly (see userdb::markClosed).
void subCloseDatabases();

// Closes both connections when it goes out of scope: declared after the application
// object, it closes them while Qt's database drivers are still there.
class DatabasesScope {
public:
    DatabasesScope() = default;
    DatabasesScope(const DatabasesScope&) = delete;
    DatabasesScope& operator=(const DatabasesScope&) = delete;
    ~DatabasesScope();
};
} // namespace modMain
