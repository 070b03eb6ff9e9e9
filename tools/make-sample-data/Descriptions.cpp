#include "Descriptions.h"

#include "Gaps.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace sampledata {

namespace {

struct RegionName {
    const char* code;
    const char16_t* english; // after "small businesses in"
    const char16_t* french;  // after "petites entreprises situées"
};

constexpr RegionName kRegionNames[] = {
    {"ATLANTIC",
     u"the Atlantic region (Newfoundland and Labrador, Prince Edward Island, Nova Scotia and New Brunswick)",
     u"dans la région de l'Atlantique (Terre-Neuve-et-Labrador, Île-du-Prince-Édouard, Nouvelle-Écosse et "
     u"Nouveau-Brunswick)"},
    {"NS", u"Nova Scotia", u"en Nouvelle-Écosse"},
    {"NB", u"New Brunswick", u"au Nouveau-Brunswick"},
    {"NL", u"Newfoundland and Labrador", u"à Terre-Neuve-et-Labrador"},
    {"PE", u"Prince Edward Island", u"à l'Île-du-Prince-Édouard"},
    {"QC", u"Quebec", u"au Québec"},
    {"ON", u"Ontario", u"en Ontario"},
    {"PRAIRIES", u"the Prairie region (Manitoba, Saskatchewan and Alberta)",
     u"dans la région des Prairies (Manitoba, Saskatchewan et Alberta)"},
    {"MB", u"Manitoba", u"au Manitoba"},
    {"SK", u"Saskatchewan", u"en Saskatchewan"},
    {"AB", u"Alberta", u"en Alberta"},
    {"BC", u"British Columbia", u"en Colombie-Britannique"},
    {"TERRITORIES", u"the territories (Yukon, the Northwest Territories and Nunavut)",
     u"dans les territoires (Yukon, Territoires du Nord-Ouest et Nunavut)"},
    {"NT", u"the Northwest Territories", u"dans les Territoires du Nord-Ouest"},
    {"NU", u"Nunavut", u"au Nunavut"},
    {"YT", u"Yukon", u"au Yukon"},
};

const RegionName& regionName(const char* code) {
    for (const RegionName& r : kRegionNames)
        if (std::string_view(code) == r.code) return r;
    throw std::runtime_error(std::string("no name for region ") + code);
}

QString who(const DatasetOption& option, bool french) {
    const bool canadaWide = std::string_view(option.region) == "ALL";
    if (option.volume == 1)
        return french ? QStringLiteral("des entreprises canadiennes dont les revenus annuels sont de "
                                       "25\u00A0millions de dollars ou plus")
                      : QStringLiteral("Canadian enterprises with annual revenue of $25 million or more");
    if (option.volume == 2)
        return french
                   ? QStringLiteral(
                         "des entreprises canadiennes dont les revenus annuels vont de 5\u00A0millions de "
                         "dollars à moins de 25\u00A0millions de dollars")
                   : QStringLiteral(
                         "Canadian enterprises with annual revenue of $5 million to less than $25 million");
    const QString range =
        french
            ? QStringLiteral(
                  "dont les revenus annuels vont de 30\u00A0000\u00A0$ à moins de 5\u00A0millions de dollars")
            : QStringLiteral("with annual revenue of $30,000 to less than $5 million");
    if (canadaWide)
        return french ? QStringLiteral("des petites entreprises canadiennes ") + range
                      : QStringLiteral("Canadian small businesses ") + range;
    const RegionName& r = regionName(option.region);
    return french ? QStringLiteral("des petites entreprises situées ") + QString::fromUtf16(r.french) +
                        QLatin1Char(' ') + range
                  : QStringLiteral("small businesses in ") + QString::fromUtf16(r.english) +
                        QLatin1Char(' ') + range;
}

} // namespace

QString datasetDescription(const DatasetOption& option, bool french) {
    QString text;
    if (french) {
        text =
            QStringLiteral("Ratios financiers et structure du bilan ") + who(option, true) +
            QStringLiteral(
                ", par industrie, pour les années de référence 2011, 2010 et 2009. Chaque ratio est présenté "
                "sous forme de quartile inférieur, de médiane et de quartile supérieur des entreprises de "
                "l'industrie. Il s'agit de données d'exemple synthétiques, produites à des fins de "
                "démonstration et d'essai, et non de statistiques publiées.");
    } else {
        text = QStringLiteral("Financial ratios and balance-sheet structure of ") + who(option, false) +
               QStringLiteral(
                   ", by industry, for the reference years 2011, 2010 and 2009. Each ratio is given as the "
                   "lower quartile, the median and the upper quartile of the businesses in the industry. "
                   "The figures are synthetic sample data, generated for demonstration and testing, not "
                   "published statistics.");
    }
    for (int year : datasets::kReferenceYears) {
        if (gaps::tableOmitted(option, year))
            text += french ? QStringLiteral(" Aucune donnée n'est disponible pour %1.").arg(year)
                           : QStringLiteral(" No figures are available for %1.").arg(year);
        else if (gaps::tableEmpty(option, year))
            text += french ? QStringLiteral(" Aucune donnée d'industrie n'est publiée pour %1.").arg(year)
                           : QStringLiteral(" No industry figures are published for %1.").arg(year);
    }
    return text;
}

} // namespace sampledata
