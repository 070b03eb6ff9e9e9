#include "refdata/SourceCheck.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "refdata/NumberText.h"
#include "report/RatioTable.h"

#include <QRegularExpression>
#include <limits>

namespace refdata {

namespace {

using refschema::Column;
using refschema::Role;
using refschema::TableKind;

int columnIndex(TableKind kind, const QString& name) {
    const std::vector<Column>& cols = refschema::columns(kind);
    for (std::size_t i = 0; i < cols.size(); ++i)
        if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

bool isNumeric(Role role) {
    return role == Role::Count || role == Role::Order || role == Role::Figure;
}

bool isTopFolder(const QString& key) {
    return key.compare(QLatin1String(refschema::TopFolder), Qt::CaseInsensitive) == 0 ||
           key.compare(QLatin1String(refschema::ManagementFolder), Qt::CaseInsensitive) == 0;
}

// The description table the datasets of a volume name their industries in.
QString descriptionTableOf(const QString& datasetTable) {
    const auto parsed = catalogue::parseDatasetTableName(datasetTable);
    return QLatin1String(parsed && parsed->volume == 1 ? catalogue::NaicsDetailed : catalogue::NaicsRaw);
}

struct Converted {
    QVariant value;
    std::optional<Msg> problem;
};

// A control character a text may not hold: any but a tab on one line; a definition may
// also run over lines.
std::optional<QChar> controlCharacter(const QString& text, bool lineBreaks) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control && c != u'\t' && !(lineBreaks && (c == u'\n' || c == u'\r')))
            return c;
    return std::nullopt;
}

// A key, and the parent folder a row names, is an identifier: the checks keep every key of
// a file, so their length is bounded.
bool isKey(const Column& column) {
    return column.primaryKey || column.name == QLatin1String("NodeKey") ||
           column.name == QLatin1String("Parent");
}

// One field as the value its column stores; an empty field is a null, except that a
// quoted empty text stays an empty text.
Converted convert(const QString& field, const Column& column, QChar mark) {
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    const bool text =
        column.role == Role::Text || column.role == Role::RequiredText || column.role == Role::Prose;
    if (text && controlCharacter(field, column.role == Role::Prose))
        return {QVariant(), Msg::ControlCharacter};
    if (text && isKey(column) && field.size() > kMaxKeyLength) return {QVariant(), Msg::KeyTooLong};
    switch (column.role) {
    case Role::Text:
    case Role::Prose:
        return {field.isNull() ? QVariant() : QVariant(field), std::nullopt};
    case Role::RequiredText:
        if (field.isEmpty()) return {QVariant(), Msg::EmptyValue};
        return {field, std::nullopt};
    case Role::Naics:
        if (!sixDigits.match(field).hasMatch()) return {QVariant(), Msg::BadNaics};
        return {field, std::nullopt};
    case Role::Count:
    case Role::Order: {
        if (field.isEmpty()) return {QVariant(), std::nullopt};
        const std::optional<qlonglong> n = numbertext::parseWhole(field, mark);
        if (!n) return {QVariant(), numbertext::parseNumber(field, mark) ? Msg::NotWhole : Msg::NotANumber};
        if (column.role == Role::Count && *n < 0) return {QVariant(), Msg::Negative};
        return {QVariant(*n), std::nullopt};
    }
    case Role::Figure: {
        if (field.isEmpty()) return {QVariant(), std::nullopt};
        const std::optional<double> d = numbertext::parseNumber(field, mark);
        if (!d) return {QVariant(), Msg::NotANumber};
        return {QVariant(*d), std::nullopt};
    }
    }
    return {QVariant(), Msg::NotANumber};
}

// A quartile boundary that takes part in the order: stored and not 0 (0 marks a
// boundary that was not published).
std::optional<double> boundary(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    const double d = v.toDouble();
    if (d == 0.0) return std::nullopt;
    return d;
}

// A field as an issue shows it: a long one cut, so that a hundred issues stay small.
QString shown(const QString& field) {
    constexpr qsizetype kShown = 200;
    return field.size() <= kShown ? field : field.left(kShown) + QStringLiteral("…");
}

} // namespace

bool readable(const QString& name, const csv::StreamResult& read, IssueList& issues) {
    switch (read.failure) {
    case csv::Failure::None:
        return true;
    case csv::Failure::Unreadable:
        issues.add({Severity::Error, Msg::Unreadable, name, 0, QString(), {read.detail}});
        break;
    case csv::Failure::Malformed:
        issues.add({Severity::Error, Msg::Malformed, name, read.line, QString(), {read.detail}});
        break;
    case csv::Failure::MixedEncoding:
        issues.add({Severity::Error, Msg::MixedEncoding, name, read.line, QString(), {read.detail}});
        break;
    case csv::Failure::RecordTooLong:
        issues.add({Severity::Error,
                    Msg::RecordTooLong,
                    name,
                    read.line,
                    QString(),
                    {QString::number(csv::kMaxRecordBytes / (1024 * 1024))}});
        break;
    }
    return false;
}

std::optional<FileFormat> SourceChecker::check(const SourceFile& file, const RowSink& sink) {
    const QString& name = file.fileName;
    const TableKind kind = file.table.kind;
    const std::vector<Column>& cols = refschema::columns(kind);

    // A first reading finds the header, counts the rows and decides the decimal mark, by
    // which every number of the file is read; one record is held at a time.
    std::vector<int> fieldOf(cols.size(), -1);
    qsizetype headerSize = -1;
    int headerLine = 0;
    bool headerOk = true;
    qint64 rows = 0;
    numbertext::DecimalMarkVote vote;
    const csv::StreamResult first = csv::streamFile(file.path, [&](csv::Record&& r) {
        if (headerSize < 0) {
            headerSize = r.fields.size();
            headerLine = r.line;
            for (qsizetype i = 0; i < r.fields.size(); ++i) {
                const QString heading = r.fields[i].trimmed();
                const int c = columnIndex(kind, heading);
                if (c < 0) {
                    issues_.add({Severity::Warning, Msg::ExtraColumn, name, r.line, shown(heading), {}});
                } else if (fieldOf[c] >= 0) {
                    issues_.add({Severity::Error, Msg::RepeatedColumn, name, r.line, heading, {}});
                    headerOk = false;
                } else {
                    fieldOf[c] = static_cast<int>(i);
                }
            }
            for (std::size_t c = 0; c < cols.size(); ++c)
                if (fieldOf[c] < 0) {
                    issues_.add(
                        {Severity::Error, Msg::MissingColumn, name, r.line, QString(), {cols[c].name}});
                    headerOk = false;
                }
            return headerOk;
        }
        if (++rows > kMaxRows) return false;
        for (std::size_t c = 0; c < cols.size(); ++c)
            if (isNumeric(cols[c].role) && fieldOf[c] < r.fields.size() && !r.fields[fieldOf[c]].isEmpty())
                vote.add(r.fields[fieldOf[c]]);
        return true;
    });
    if (!readable(name, first, issues_)) return std::nullopt;
    if (headerSize < 0) {
        issues_.add({Severity::Error, Msg::NoHeader, name, 0, QString(), {}});
        return std::nullopt;
    }
    if (!headerOk) return std::nullopt;
    if (rows > kMaxRows) {
        issues_.add({Severity::Error, Msg::TooManyRows, name, 0, QString(), {QString::number(kMaxRows)}});
        return std::nullopt;
    }
    const FileFormat format{first.encoding, first.separator, vote.mark(), rows};

    int keyColumn = -1;
    for (std::size_t c = 0; c < cols.size(); ++c)
        if (cols[c].primaryKey) keyColumn = static_cast<int>(c);
    QHash<QString, int> firstLineOfKey;
    std::vector<Folder> folders;
    QSet<QString> options;
    QSet<QString>* codes =
        kind == TableKind::IndustryDescriptions ? &describedCodes_[file.table.name] : nullptr;

    // The second reading checks each row and hands the good ones over.
    bool header = true;
    const csv::StreamResult second = csv::streamFile(file.path, [&](csv::Record&& r) {
        if (header) {
            header = false;
            return true;
        }
        if (r.fields.size() != headerSize) {
            issues_.add({Severity::Error,
                         Msg::FieldCount,
                         name,
                         r.line,
                         QString(),
                         {QString::number(r.fields.size()), QString::number(headerSize)}});
            return true;
        }
        bool rowOk = true;
        QVariantList values;
        QStringList texts;
        values.reserve(static_cast<qsizetype>(cols.size()));
        for (std::size_t c = 0; c < cols.size(); ++c) {
            const QString& field = r.fields[fieldOf[c]];
            Converted cv = convert(field, cols[c], format.decimalMark);
            if (cv.problem) {
                // A control character is named by its code: as itself it would not show.
                const std::optional<QChar> control = controlCharacter(field, cols[c].role == Role::Prose);
                QStringList args{
                    control ? QStringLiteral("%1").arg(control->unicode(), 4, 16, QChar(u'0')).toUpper()
                            : shown(field)};
                if (*cv.problem == Msg::NotANumber) args << QString(format.decimalMark);
                issues_.add({Severity::Error, *cv.problem, name, r.line, cols[c].name, args});
                rowOk = false;
            }
            values << cv.value;
            texts << field;
        }
        if (keyColumn >= 0 && !values[keyColumn].isNull()) {
            const QString key = values[keyColumn].toString().trimmed();
            const auto seen = firstLineOfKey.constFind(key);
            if (seen != firstLineOfKey.cend()) {
                issues_.add({Severity::Error,
                             Msg::Duplicate,
                             name,
                             r.line,
                             cols[keyColumn].name,
                             {key, QString::number(*seen)}});
                rowOk = false;
            } else {
                firstLineOfKey.insert(key, r.line);
            }
        }
        switch (kind) {
        case TableKind::Tree: {
            const QVariant seq = values[columnIndex(kind, QStringLiteral("sequence"))];
            folders.push_back({values[0].toString().trimmed(),
                               values[columnIndex(kind, QStringLiteral("Parent"))].toString().trimmed(),
                               seq.isNull() ? std::nullopt : std::optional<qlonglong>(seq.toLongLong()),
                               r.line});
            break;
        }
        case TableKind::IndustryDescriptions:
            checkIndustry(file, r.line, values, rowOk);
            if (!values[0].isNull()) codes->insert(values[0].toString());
            break;
        case TableKind::Dataset:
            checkDatasetRow(file, r.line, values, texts, rowOk);
            break;
        case TableKind::DatasetDescriptions:
            if (!values[0].isNull()) {
                options.insert(values[0].toString());
                if (!datasets::findByControlName(values[0].toString())) {
                    issues_.add({Severity::Error,
                                 Msg::UnknownOption,
                                 name,
                                 r.line,
                                 cols[0].name,
                                 {values[0].toString()}});
                    rowOk = false;
                }
            }
            break;
        case TableKind::Provenance:
            break;
        }
        if (rowOk && sink) sink(values);
        return true;
    });
    if (!readable(name, second, issues_)) return std::nullopt;

    if (kind == TableKind::Tree) checkFolders(file, folders);
    if (kind == TableKind::DatasetDescriptions)
        for (const DatasetOption& o : datasets::options())
            if (!options.contains(QLatin1String(o.controlName)))
                issues_.add({Severity::Error,
                             Msg::OptionMissing,
                             name,
                             0,
                             QString(),
                             {QLatin1String(o.controlName)}});
    return format;
}

void SourceChecker::checkFolders(const SourceFile& file, const std::vector<Folder>& folders) {
    QHash<QString, const Folder*> byKey;
    for (const Folder& f : folders)
        byKey.insert(f.key, &f);
    folderKeys_.emplace();
    for (const Folder& f : folders)
        folderKeys_->insert(f.key);
    // The tree adds the folders in sequence order, each under its parent: the parent
    // must exist and come first (a missing sequence sorts first).
    const auto before = [](const Folder& a, const Folder& b) {
        const qlonglong sa = a.sequence.value_or(std::numeric_limits<qlonglong>::min());
        const qlonglong sb = b.sequence.value_or(std::numeric_limits<qlonglong>::min());
        return sa < sb;
    };
    const QString parentColumn = QStringLiteral("Parent");
    for (const Folder& f : folders) {
        if (isTopFolder(f.key)) continue;
        if (f.parent.isEmpty()) {
            issues_.add(
                {Severity::Error,
                 Msg::FolderWithoutParent,
                 file.fileName,
                 f.line,
                 parentColumn,
                 {f.key, QLatin1String(refschema::TopFolder), QLatin1String(refschema::ManagementFolder)}});
            continue;
        }
        const Folder* parent = byKey.value(f.parent, nullptr);
        if (!parent) {
            issues_.add(
                {Severity::Error, Msg::ParentMissing, file.fileName, f.line, parentColumn, {f.parent}});
        } else if (!before(*parent, f)) {
            issues_.add({Severity::Error,
                         Msg::ParentLater,
                         file.fileName,
                         f.line,
                         parentColumn,
                         {f.parent, QString::number(parent->line)}});
        }
    }
}

void SourceChecker::checkIndustry(const SourceFile& file, int line, const QVariantList& values, bool& rowOk) {
    static const int nodeKey = columnIndex(TableKind::IndustryDescriptions, QStringLiteral("NodeKey"));
    static const int parent = columnIndex(TableKind::IndustryDescriptions, QStringLiteral("Parent"));
    if (values[0].isNull() || values[nodeKey].isNull()) return;
    const QString key = values[nodeKey].toString().trimmed();
    const QString expected = QStringLiteral("Ind") + values[0].toString();
    if (key != expected) {
        issues_.add({Severity::Error,
                     Msg::NodeKeyMismatch,
                     file.fileName,
                     line,
                     QStringLiteral("NodeKey"),
                     {key, expected}});
        rowOk = false;
    }
    if (!folderKeys_) return;
    if (folderKeys_->contains(key)) {
        issues_.add({Severity::Error,
                     Msg::KeyOfFolder,
                     file.fileName,
                     line,
                     QStringLiteral("NodeKey"),
                     {key, QLatin1String(catalogue::TreeView)}});
        rowOk = false;
    }
    const QString folder = values[parent].toString().trimmed();
    if (!folderKeys_->contains(folder))
        issues_.add({Severity::Warning,
                     Msg::IndustryWithoutFolder,
                     file.fileName,
                     line,
                     QStringLiteral("Parent"),
                     {folder, QLatin1String(catalogue::TreeView), QLatin1String(refschema::TopFolder)}});
}

void SourceChecker::checkDatasetRow(const SourceFile& file, int line, const QVariantList& values,
                                    const QStringList& texts, bool& rowOk) {
    const QString described = descriptionTableOf(file.table.name);
    const auto codes = describedCodes_.find(described);
    if (!values[0].isNull() && codes != describedCodes_.end() &&
        !codes->second.contains(values[0].toString())) {
        issues_.add({Severity::Error,
                     Msg::UnknownNaics,
                     file.fileName,
                     line,
                     QStringLiteral("NAICS"),
                     {values[0].toString(), described}});
        rowOk = false;
    }
    for (const ratios::Ratio& r : ratios::all()) {
        const QStringList names{ratios::q1Column(r), ratios::q2Column(r), ratios::q3Column(r)};
        std::optional<double> previous;
        bool ordered = true;
        QStringList shown;
        for (const QString& n : names) {
            const int c = columnIndex(TableKind::Dataset, n);
            shown << (texts[c].isEmpty() ? QStringLiteral("-") : texts[c]);
            const std::optional<double> b = boundary(values[c]);
            if (!b) continue;
            if (previous &&
                (r.direction == ratios::Direction::HigherIsBetter ? *b < *previous : *b > *previous))
                ordered = false;
            previous = b;
        }
        if (!ordered)
            issues_.add({Severity::Warning,
                         r.direction == ratios::Direction::HigherIsBetter ? Msg::QuartileOrderHigher
                                                                          : Msg::QuartileOrderLower,
                         file.fileName, line, names[0], names + shown});
    }
}

} // namespace refdata
