#include "industry/NaicsLists.h"

#include "data/Catalogue.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace naicslists {

namespace {

const QString kRead = QStringLiteral("read");

// The select shared by the lookups: code, title and the folder's title of each industry of the dataset.
QString industryQuery(const QString& datasetTable, const QString& naicsTable, Language language,
                      const QString& where) {
    return QStringLiteral("select F.NAICS, N.") + catalogue::industryTitleColumn(language) +
           QStringLiteral(", T.") + catalogue::folderTitleColumn(language) + QStringLiteral(" from (") +
           catalogue::table(naicsTable) + QStringLiteral(" N inner join ") + catalogue::table(datasetTable) +
           QStringLiteral(" F on N.NAICS = F.NAICS) left join tblTreeview T on N.Parent = T.NodeKey ") +
           where;
}

Industry industryOf(const Recordset& rs) {
    const QVariant sector = rs.field(2);
    return Industry{rs.field(0).toString(), rs.field(1).toString(),
                    sector.isNull() ? QString() : sector.toString()};
}

QCollator collatorFor(Language language) {
    QCollator c(language::locale(language));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

} // namespace

QStringList codes(Connection& data, const QString& datasetTable) {
    RecordsetPtr rs = GetRS(data,
                            QStringLiteral("select NAICS from ") + catalogue::table(datasetTable) +
                                QStringLiteral(" order by NAICS"),
                            kRead);
    QStringList out;
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(0).toString();
    return out;
}

QStringList titles(Connection& data, const QString& datasetTable, const QString& naicsTable,
                   Language language) {
    RecordsetPtr rs = GetRS(data,
                            QStringLiteral("select n.") + catalogue::industryTitleColumn(language) +
                                QStringLiteral(" as dsc from ") + catalogue::table(datasetTable) +
                                QStringLiteral(" f inner join ") + catalogue::table(naicsTable) +
                                QStringLiteral(" N on f.naics = N.NAICS"),
                            kRead);
    QStringList out;
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(QStringLiteral("Dsc")).toString();
    // The database orders by code points, which would put "Élevage" after "Vente"; sort as the language does.
    const QCollator collator = collatorFor(language);
    std::stable_sort(out.begin(), out.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return out;
}

std::optional<Industry> byTitle(Connection& data, const QString& datasetTable, const QString& naicsTable,
                                const QString& title, Language language) {
    RecordsetPtr rs =
        GetRS(data,
              industryQuery(datasetTable, naicsTable, language,
                            QStringLiteral("where N.") + catalogue::industryTitleColumn(language) +
                                QStringLiteral(" = ?")),
              kRead, {title});
    if (rs->eof()) return std::nullopt;
    return industryOf(*rs);
}

std::optional<Industry> byCode(Connection& data, const QString& datasetTable, const QString& naicsTable,
                               const QString& naics, Language language) {
    RecordsetPtr rs =
        GetRS(data, industryQuery(datasetTable, naicsTable, language, QStringLiteral("where F.NAICS = ?")),
              kRead, {naics});
    if (rs->eof()) return std::nullopt;
    return industryOf(*rs);
}

RecordsetPtr keywordResults(Connection& data, const QString& datasetTable, const QString& naicsTable,
                            const QString& keyword, Language language) {
    // The grid shows the query's own column names, so each language names its columns.
    const QString columns =
        language == Language::F
            ? QStringLiteral("select F.NAICS as SCIAN, N.description_french as Description, "
                             "T.inddescf as Secteur from (")
            : QStringLiteral("select F.NAICS, N.Description, T.inddesce as Sector from (");
    return GetRS(
        data,
        columns + catalogue::table(naicsTable) + QStringLiteral(" N inner join ") +
            catalogue::table(datasetTable) +
            QStringLiteral(
                " F on N.NAICS = F.NAICS) left join tblTreeview T on N.Parent = T.NodeKey where N.") +
            catalogue::industryTitleColumn(language) + QStringLiteral(" like ?"),
        kRead, {u'%' + keyword + u'%'});
}

QList<Industry> keywordSearch(Connection& data, const QString& datasetTable, const QString& naicsTable,
                              const QString& keyword, Language language) {
    RecordsetPtr rs = keywordResults(data, datasetTable, naicsTable, keyword, language);
    QList<Industry> out;
    for (; !rs->eof(); rs->moveNext())
        out << industryOf(*rs);
    return out;
}

QString relabelCodeLine(const QString& caption, Language language) {
    QString c = caption;
    if (language == Language::F)
        c.replace(QStringLiteral("NAICS"), QStringLiteral("SCIAN"));
    else
        c.replace(QStringLiteral("SCIAN"), QStringLiteral("NAICS"));
    return c;
}

} // namespace naicslists
