#include "data/Catalogue.h"

#include "platform/Platform.h"

#include <QRegularExpression>

namespace catalogue {

namespace {

struct FixedTable {
    const char* name;
    DbFile file;
};

constexpr FixedTable kFixedTables[] = {
    {DataDescription, DbFile::Reference},
    {NaicsDetailed, DbFile::Reference},
    {NaicsRaw, DbFile::Reference},
    {TreeView, DbFile::Reference},
    {Provenance, DbFile::Reference},
    {MyValues, DbFile::User},
    {RptDataCY, DbFile::User},
    {RptDataCYM1, DbFile::User},
    {RptDataCYM2, DbFile::User},
    {RptComparison, DbFile::User},
    {RptComparisonTitles, DbFile::User},
    {RptComparisonTitlesSource, DbFile::User},
    {RptRatiosTitles, DbFile::User},
    {RptRatiosTitlesSource, DbFile::User},
    {RptBalanceSheetTitles, DbFile::User},
    {RptBalanceSheetTitlesSource, DbFile::User},
    {VolumeDescriptions, DbFile::User},
    {ProvinceCodes, DbFile::User},
    {RecordsVersion, DbFile::Records},
};

} // namespace

const QStringList& regionCodes() {
    static const QStringList codes{
        QStringLiteral("ALL"),      QStringLiteral("ATLANTIC"),    QStringLiteral("NS"), QStringLiteral("NB"),
        QStringLiteral("NL"),       QStringLiteral("PE"),          QStringLiteral("QC"), QStringLiteral("ON"),
        QStringLiteral("PRAIRIES"), QStringLiteral("MB"),          QStringLiteral("SK"), QStringLiteral("AB"),
        QStringLiteral("BC"),       QStringLiteral("TERRITORIES"), QStringLiteral("NT"), QStringLiteral("NU"),
        QStringLiteral("YT")};
    return codes;
}

QString datasetTablePrefix(int volume, const QString& region) {
    return QStringLiteral("ZEBRO_Vol") + QString::number(volume) + u'_' + region + u'_';
}

QString datasetTableName(int volume, const QString& region, int year) {
    return datasetTablePrefix(volume, region) + QStringLiteral("%1").arg(year, 4, 10, QChar(u'0')) +
           QStringLiteral("_Final_Ratios");
}

std::optional<DatasetTable> parseDatasetTableName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^ZEBRO_Vol([123])_([A-Z]+)_(\\d{4})_Final_Ratios$"));
    const QRegularExpressionMatch m = re.match(name);
    if (!m.hasMatch()) return std::nullopt;
    const QString region = m.captured(2);
    if (!regionCodes().contains(region)) return std::nullopt;
    const int volume = m.captured(1).toInt();
    // Regions other than the whole country are published for volume 3 only.
    if (volume != 3 && region != QLatin1String("ALL")) return std::nullopt;
    return DatasetTable{volume, region, m.captured(3).toInt()};
}

std::optional<DbFile> fileOf(const QString& tableName) {
    for (const FixedTable& t : kFixedTables)
        if (tableName.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) return t.file;
    if (parseDatasetTableName(tableName)) return DbFile::Reference;
    return std::nullopt;
}

QString table(const QString& tableName) {
    if (!fileOf(tableName))
        throw FatalError(errnum::InvalidTableName, QStringLiteral("Unknown table name: %1").arg(tableName));
    return tableName;
}

QString workingTable(int yearsBack) {
    switch (yearsBack) {
    case 0:
        return QString::fromLatin1(RptDataCY);
    case 1:
        return QString::fromLatin1(RptDataCYM1);
    case 2:
        return QString::fromLatin1(RptDataCYM2);
    default:
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("No working table for %1 years back").arg(yearsBack));
    }
}

QString industryTitleColumn(Language language) {
    return language == Language::F ? QStringLiteral("description_french") : QStringLiteral("description");
}

QString industryDefinitionColumn(Language language) {
    return language == Language::F ? QStringLiteral("definitionf") : QStringLiteral("definitione");
}

QString folderTitleColumn(Language language) {
    return language == Language::F ? QStringLiteral("inddescf") : QStringLiteral("inddesce");
}

} // namespace catalogue
