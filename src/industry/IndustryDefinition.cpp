#include "industry/IndustryDefinition.h"

#include "data/Catalogue.h"

namespace industrydefinition {

std::optional<Definition> lookup(Connection& data, const QString& naicsTable, const QString& naics,
                                 Language language) {
    RecordsetPtr rs = GetRS(
        data,
        QStringLiteral("select naics, description, description_french, definitione, definitionf from ") +
            catalogue::table(naicsTable) + QStringLiteral(" where NAICS = ?"),
        QStringLiteral("read"), {naics});
    if (rs->eof()) return std::nullopt;
    const QVariant title = rs->field(catalogue::industryTitleColumn(language));
    const QVariant text = rs->field(catalogue::industryDefinitionColumn(language));
    return Definition{naics + QStringLiteral(" - ") + (title.isNull() ? QString() : title.toString()),
                      text.isNull() ? QString() : text.toString()};
}

} // namespace industrydefinition
