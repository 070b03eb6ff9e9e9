#pragma once
// The checks of a source folder's files before anything is written: every column the
// program reads present, values of the right kind, keys unique, NAICS codes described,
// folders under parents that exist, quartiles in their ratio's order. The same checks
// run again while the rows are written, so a file changed in between cannot slip through.

#include "data/CsvFile.h"
#include "refdata/ImportIssues.h"
#include "refdata/SourceFolder.h"

#include <QChar>
#include <QHash>
#include <QSet>
#include <QVariantList>
#include <functional>
#include <map>
#include <optional>

namespace refdata {

// What the checks hold of a file besides the record being read: its keys (at most this
// long) and, for the industry tree, its folders; a file may have at most this many rows.
inline constexpr qsizetype kMaxKeyLength = 100;
inline constexpr qint64 kMaxRows = 100000;

struct FileFormat {
    csv::Encoding encoding = csv::Encoding::Utf8;
    char separator = ',';
    QChar decimalMark = u'.';
    qint64 rows = 0;
};

// False, with its issue added, when the reading of a file stopped short.
bool readable(const QString& fileName, const csv::StreamResult& read, IssueList& issues);

class SourceChecker {
public:
    explicit SourceChecker(IssueList& issues) : issues_(issues) {}

    // Receives each good row's values in the table's column order (refschema::columns).
    using RowSink = std::function<void(const QVariantList& values)>;

    // Reads and checks one file. The files must come in the folder's order, so that the
    // industry tree and the description tables are known before the datasets. Nothing
    // when the file could not be read at all. The file is read as a stream, twice (the
    // first reading decides the decimal mark), holding one record at a time.
    std::optional<FileFormat> check(const SourceFile& file, const RowSink& sink = {});

private:
    struct Folder {
        QString key;
        QString parent;
        std::optional<qlonglong> sequence;
        int line;
    };

    void checkFolders(const SourceFile& file, const std::vector<Folder>& folders);
    void checkIndustry(const SourceFile& file, int line, const QVariantList& values, bool& rowOk);
    void checkDatasetRow(const SourceFile& file, int line, const QVariantList& values,
                         const QStringList& texts, bool& rowOk);

    IssueList& issues_;
    std::optional<QSet<QString>> folderKeys_;         // known once the tree was read
    std::map<QString, QSet<QString>> describedCodes_; // per description table
};

} // namespace refdata
