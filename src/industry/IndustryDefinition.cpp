#include "industry/IndustryDefinition.h"

#include "data/Catalogue.h"

namespace industrydefinition {

std::optional<Definition> lookup(Connection& data, const QString& naicsTable, const QString& naics,
                                 int language) {
    RecordsetPtr rs = GetRS(
        data,
        QStringLiteral("select naics, description, description_french, definitione, definitionf from ") +
            catalogue::table(naicsTable) + QStringLiteral(" where NAICS = ?"),
        QStringLiteral("read"), {naics});
    if (rs->eof()) return std::nullopt;
    const bool french = language != 0;
    const QVariant title =
        rs->field(french ? QStringLiteral("description_french") : QStringLiteral("description"));
    const QVariant text = rs->field(french ? QStringLiteral("definitionf") : QStringLiteral("definitione"));
    return Definition{naics + QStringLiteral(" - ") + (title.isNull() ? QString() : title.toString()),
                      text.isNull() ? QString() : text.toString()};
}

} // namespace industrydefinition
