#include "data/SourceOfFigures.h"

#include "data/Catalogue.h"
#include "data/ReferenceCheck.h"
#include "text/StringTable.h"

#include <QDate>
#include <optional>

namespace provenance {

namespace {

// String-table entries of the description.
constexpr int kSampleEntry = 800;      // "Industry figures: synthetic sample data, ..."
constexpr int kImportedEntry = 802;    // "Industry figures: %1, imported %2"
constexpr int kUndatedEntry = 804;     // "Industry figures: %1"
constexpr int kNotRecordedEntry = 806; // "Industry figures: source not recorded"

struct Recorded {
    QString source;
    QDate date;
};

std::optional<Recorded> recorded(Connection& cn) {
    const QString table = QLatin1String(catalogue::Provenance);
    if (!referencecheck::missingTables(cn, {table}).isEmpty()) return std::nullopt;
    RecordsetPtr rs = GetRS(
        cn,
        QStringLiteral("select SourceName, ImportDate from ") + catalogue::table(table) +
            QStringLiteral(" where SourceName is not null and SourceName <> '' order by TableName limit 1"),
        QStringLiteral("read"));
    if (rs->eof()) return std::nullopt;
    return Recorded{rs->field(0).toString(), QDate::fromString(rs->field(1).toString(), Qt::ISODate)};
}

} // namespace

QString sourceName(Connection& cn) {
    const std::optional<Recorded> r = recorded(cn);
    return r ? r->source : QString();
}

QString describe(Connection& cn, Language language) {
    const std::optional<Recorded> r = recorded(cn);
    if (!r) return strings::text(kNotRecordedEntry, language);
    if (r->source == QLatin1String(SyntheticSample)) return strings::text(kSampleEntry, language);
    if (!r->date.isValid()) return strings::text(kUndatedEntry, language).arg(r->source);
    return strings::text(kImportedEntry, language).arg(r->source, r->date.toString(Qt::ISODate));
}

} // namespace provenance
