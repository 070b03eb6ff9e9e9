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

// One field as the value its column stores; an empty field is a null, except that a
// quoted empty text stays an empty text.
Converted convert(const QString& field, const Column& column, QChar mark) {
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    switch (column.role) {
    case Role::Text:
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

} // namespace

std::optional<FileFormat> SourceChecker::check(const SourceFile& file, const RowSink& sink) {
    const QString& name = file.fileName;
    const csv::ReadResult read = csv::readFile(file.path);
    if (read.failure == csv::ReadResult::Failure::Unreadable) {
        issues_.add({Severity::Error, Msg::Unreadable, name, 0, QString(), {read.detail}});
        return std::nullopt;
    }
    if (read.failure == csv::ReadResult::Failure::Malformed) {
        issues_.add({Severity::Error, Msg::Malformed, name, read.line, QString(), {read.detail}});
        return std::nullopt;
    }
    const csv::Table& table = read.table;
    if (table.header.isEmpty()) {
        issues_.add({Severity::Error, Msg::NoHeader, name, 0, QString(), {}});
        return std::nullopt;
    }

    // Header: which field holds which column.
    const TableKind kind = file.table.kind;
    const std::vector<Column>& cols = refschema::columns(kind);
    std::vector<int> fieldOf(cols.size(), -1);
    bool headerOk = true;
    for (qsizetype i = 0; i < table.header.size(); ++i) {
        const QString heading = table.header[i].trimmed();
        const int c = columnIndex(kind, heading);
        if (c < 0) {
            issues_.add({Severity::Warning, Msg::ExtraColumn, name, table.headerLine, heading, {}});
        } else if (fieldOf[c] >= 0) {
            issues_.add({Severity::Error, Msg::RepeatedColumn, name, table.headerLine, heading, {}});
            headerOk = false;
        } else {
            fieldOf[c] = static_cast<int>(i);
        }
    }
    for (std::size_t c = 0; c < cols.size(); ++c)
        if (fieldOf[c] < 0) {
            issues_.add(
                {Severity::Error, Msg::MissingColumn, name, table.headerLine, QString(), {cols[c].name}});
            headerOk = false;
        }
    if (!headerOk) return std::nullopt;

    FileFormat format{table.encoding, table.separator, u'.', static_cast<qint64>(table.records.size())};
    QStringList numericTexts;
    for (const csv::Record& r : table.records)
        for (std::size_t c = 0; c < cols.size(); ++c)
            if (isNumeric(cols[c].role) && fieldOf[c] < r.fields.size() && !r.fields[fieldOf[c]].isEmpty())
                numericTexts << r.fields[fieldOf[c]];
    format.decimalMark = numbertext::detectDecimalMark(numericTexts);

    int keyColumn = -1;
    for (std::size_t c = 0; c < cols.size(); ++c)
        if (cols[c].primaryKey) keyColumn = static_cast<int>(c);
    QHash<QString, int> firstLineOfKey;
    std::vector<Folder> folders;
    QSet<QString> options;
    QSet<QString>* codes =
        kind == TableKind::IndustryDescriptions ? &describedCodes_[file.table.name] : nullptr;

    for (const csv::Record& r : table.records) {
        if (r.fields.size() != table.header.size()) {
            issues_.add({Severity::Error,
                         Msg::FieldCount,
                         name,
                         r.line,
                         QString(),
                         {QString::number(r.fields.size()), QString::number(table.header.size())}});
            continue;
        }
        bool rowOk = true;
        QVariantList values;
        QStringList texts;
        values.reserve(static_cast<qsizetype>(cols.size()));
        for (std::size_t c = 0; c < cols.size(); ++c) {
            const QString& field = r.fields[fieldOf[c]];
            Converted cv = convert(field, cols[c], format.decimalMark);
            if (cv.problem) {
                QStringList args{field};
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
    }

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
