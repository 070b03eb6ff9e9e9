#include "report/ReportTitles.h"

#include <array>

namespace reporttitles {

namespace {

constexpr Label kSampleNote{
    "Lbl_SampleNote",
    "The industry figures are synthetic sample data for demonstration; they are not published statistics.",
    "Les chiffres de l'industrie sont des données d'exemple synthétiques à des fins de démonstration; ce ne "
    "sont pas des "
    "statistiques publiées."};

constexpr Label kPrepared{"Lbl_Prepared", "Report prepared on", "Rapport préparé le"};
constexpr Label kLowerIsBetter{"Lbl_LowerIsBetter", "lower is better",
                               "une valeur plus faible est préférable"};
constexpr Label kYears{"Title_LowerRight", "Reference years:", "Années de référence\u00a0:"};

constexpr std::array kComparisonLabels{
    Label{"NAICS", nullptr, nullptr},
    Label{"Title_Report", "Comparison of an enterprise with its industry",
          "Comparaison d'une entreprise avec son industrie"},
    Label{"Lbl_Enterprise", "Enterprise", "Entreprise"},
    Label{"Lbl_Industry", "Industry", "Industrie"},
    Label{"Lbl_NAICS", "NAICS", "SCIAN"},
    Label{"Lbl_Year", "Reference year", "Année de référence"},
    Label{"Lbl_NumberOfFirms", "Number of firms in the industry", "Nombre d'entreprises dans l'industrie"},
    Label{"Lbl_Ratio", "Ratio", "Ratio"},
    Label{"Lbl_FirmValue", "Your enterprise", "Votre entreprise"},
    Label{"Lbl_Median", "Industry median", "Médiane de l'industrie"},
    Label{"Lbl_Position", "Position among the industry's quarters",
          "Position parmi les quarts de l'industrie"},
    Label{"Lbl_BetterThan", "Better than", "Meilleure que"},
    Label{"Lbl_WorseThan", "Worse than", "Moins bonne que"},
    Label{"Lbl_OfFirms", "% of the industry", "% de l'industrie"},
    Label{"Lbl_GaugeNote",
          "Each gauge shows the industry's four quarters, from the weakest (left) to the strongest (right); "
          "the diamond "
          "marks your enterprise.",
          "Chaque jauge montre les quatre quarts de l'industrie, du plus faible (à gauche) au plus fort (à "
          "droite); le "
          "losange représente votre entreprise."},
    Label{"Lbl_PositionNote",
          "\u201cBetter than X%\u201d is the share of the industry your enterprise does better than; "
          "\u201cworse than Y%\u201d "
          "is the share that does better than your enterprise. Your enterprise's own quarter counts in "
          "neither figure, so "
          "the two add up to 75% (50% when your enterprise stands on a quartile boundary, such as 25% / 25% "
          "at the "
          "median). \u201cWorse than 0%\u201d means that at most a quarter of the industry does better, not "
          "that none does.",
          "«\u00a0Meilleure que X\u00a0%\u00a0» est la part de l'industrie que votre entreprise devance; "
          "«\u00a0moins bonne "
          "que Y\u00a0%\u00a0» est la part de l'industrie qui devance votre entreprise. Le quart où se situe "
          "votre entreprise "
          "n'entre dans aucun des deux chiffres\u00a0: leur somme est donc de 75\u00a0% (50\u00a0% lorsque "
          "votre entreprise "
          "se situe sur une borne de quartile, par exemple 25\u00a0% / 25\u00a0% à la médiane). «\u00a0Moins "
          "bonne que "
          "0\u00a0%\u00a0» signifie qu'au plus un quart de l'industrie fait mieux, et non que personne ne "
          "fait mieux."},
    kLowerIsBetter,
    Label{"Lbl_NoIndustryData", "no industry data", "aucune donnée d'industrie"},
    Label{"Lbl_NegativeEquity", "not meaningful: negative equity",
          "non significatif\u00a0: capitaux propres négatifs"},
    Label{"Lbl_ProfitsLosses", "Firms reporting profits and losses",
          "Entreprises déclarant des bénéfices et des pertes"},
    Label{"Lbl_OperatingProfit", "Operating profit", "Bénéfice d'exploitation"},
    Label{"Lbl_PretaxProfit", "Pretax profit", "Bénéfice avant impôts"},
    Label{"Lbl_NetProfit", "Net profit", "Bénéfice net"},
    Label{"Lbl_WithProfit", "With a profit (%)", "Avec un bénéfice (%)"},
    Label{"Lbl_WithLoss", "With a loss (%)", "Avec une perte (%)"},
    Label{"Lbl_BalanceSheet", "Balance sheet structure (% of total assets)",
          "Structure du bilan (% de l'actif total)"},
    Label{"Lbl_Item", "Item", "Poste"},
    Label{"Lbl_FirmShare", "Enterprise", "Entreprise"},
    Label{"Lbl_IndustryShare", "Industry", "Industrie"},
    Label{"Lbl_Difference", "Difference", "Écart"},
    Label{"Lbl_DifferenceNote",
          "A positive difference means that your enterprise carries more of the item, relative to its total "
          "assets, than the industry.",
          "Un écart positif signifie que votre entreprise détient davantage de ce poste, par rapport à son "
          "actif total, que l'industrie."},
    Label{"Lbl_Statement", "Your enterprise's statement, as entered",
          "État financier de votre entreprise, tel que saisi"},
    Label{"Lbl_Amount", "Amount ($)", "Montant ($)"},
    Label{"Lbl_StatementNote",
          "Amounts in dollars for the reference year, as entered; the totals as computed from them.",
          "Montants en dollars pour l'année de référence, tels que saisis; les totaux tels que calculés à "
          "partir de ceux-ci."},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    kPrepared,
    Label{"Lbl_Page", "Page", "Page"},
};

constexpr std::array kRatiosLabels{
    Label{"Naics", nullptr, nullptr},
    kYears,
    Label{"Year_0", nullptr, nullptr},
    Label{"Year_1", nullptr, nullptr},
    Label{"Year_2", nullptr, nullptr},
    Label{"Year_3", nullptr, nullptr},
    Label{"Title_UpperLeft", nullptr, nullptr},
    Label{"Title_LowerLeft", nullptr, nullptr},
    Label{"ML_Title", nullptr, nullptr},
    Label{"MM_Title", nullptr, nullptr},
    Label{"Title_Report", "Industry financial ratios", "Ratios financiers de l'industrie"},
    Label{"Lbl_Industry", "Industry", "Industrie"},
    Label{"Lbl_NAICS", "NAICS", "SCIAN"},
    Label{"Lbl_Ratio", "Ratio", "Ratio"},
    Label{"Lbl_Q1", "Lower quartile", "Quartile inférieur"},
    Label{"Lbl_Q2", "Median", "Médiane"},
    Label{"Lbl_Q3", "Upper quartile", "Quartile supérieur"},
    Label{"Lbl_NumberOfFirms", "Number of firms", "Nombre d'entreprises"},
    Label{"Lbl_NoData", "No data for this year", "Aucune donnée pour cette année"},
    Label{"Lbl_ProfitsLosses", "Firms reporting profits and losses (%)",
          "Entreprises déclarant des bénéfices et des pertes (%)"},
    Label{"Lbl_OperatingProfit", "Operating profit", "Bénéfice d'exploitation"},
    Label{"Lbl_PretaxProfit", "Pretax profit", "Bénéfice avant impôts"},
    Label{"Lbl_NetProfit", "Net profit", "Bénéfice net"},
    Label{"Lbl_WithProfit", "With a profit", "Avec un bénéfice"},
    Label{"Lbl_WithLoss", "With a loss", "Avec une perte"},
    kLowerIsBetter,
    Label{"Lbl_LowerIsBetterNote",
          "Debt to equity and liabilities to assets: a lower value is better. As for every ratio, the "
          "quartiles run from "
          "the weakest firms to the strongest, so for these two the lower quartile is the larger figure and "
          "the upper "
          "quartile the smaller one.",
          "Ratio d'endettement et ratio du passif à l'actif\u00a0: une valeur plus faible est préférable. "
          "Comme pour tous "
          "les ratios, les quartiles vont des entreprises les moins performantes aux plus performantes; pour "
          "ces deux "
          "ratios, le quartile inférieur est donc le chiffre le plus élevé et le quartile supérieur, le "
          "moins élevé."},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    kPrepared,
    Label{"Lbl_Page", "Page", "Page"},
};

constexpr std::array kBalanceSheetLabels{
    Label{"Naics", nullptr, nullptr},
    kYears,
    Label{"Year_0", nullptr, nullptr},
    Label{"Year_1", nullptr, nullptr},
    Label{"Year_2", nullptr, nullptr},
    Label{"Title_UpperLeft", nullptr, nullptr},
    Label{"Title_LowerLeft", nullptr, nullptr},
    Label{"Title_Report", "Industry balance sheet (% of total assets)",
          "Bilan de l'industrie (% de l'actif total)"},
    Label{"Lbl_Industry", "Industry", "Industrie"},
    Label{"Lbl_NAICS", "NAICS", "SCIAN"},
    Label{"Lbl_Item", "Item", "Poste"},
    Label{"Lbl_NumberOfFirms", "Number of firms", "Nombre d'entreprises"},
    Label{"Lbl_NoData", "No data for this year", "Aucune donnée pour cette année"},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    kPrepared,
    Label{"Lbl_Page", "Page", "Page"},
};

const std::array<TitleTable, 3> kTables{{
    {"Rpt_Comparison_Titles", "Rpt_Comparison_Titles_Source", kComparisonLabels},
    {"Rpt_Ratios_Titles", "Rpt_Ratios_Titles_Source", kRatiosLabels},
    {"Rpt_BalanceSheet_Titles", "Rpt_BalanceSheet_Titles_Source", kBalanceSheetLabels},
}};

constexpr std::array<VolumeDescription, 6> kVolumes{{
    {1, "E", "Volume 1: Enterprises with revenue of $25 million or more",
     "Financial performance indicators for Canadian business",
     "Quartile boundaries of the industry's enterprises", "A boundary shown as n/a is not available"},
    {1, "F", "Volume 1\u00a0: entreprises ayant 25 millions de dollars ou plus de revenu",
     "Indicateurs de performance financière des entreprises canadiennes",
     "Bornes des quartiles des entreprises de l'industrie", "Une borne indiquée n.d. n'est pas disponible"},
    {2, "E", "Volume 2: Enterprises with revenue of $5 million to less than $25 million",
     "Financial performance indicators for Canadian business",
     "Quartile boundaries of the industry's enterprises", "A boundary shown as n/a is not available"},
    {2, "F", "Volume 2\u00a0: entreprises ayant de 5 millions à moins de 25 millions de dollars de revenu",
     "Indicateurs de performance financière des entreprises canadiennes",
     "Bornes des quartiles des entreprises de l'industrie", "Une borne indiquée n.d. n'est pas disponible"},
    {3, "E", "Volume 3: Enterprises with revenue of $30,000 to less than $5 million",
     "Financial performance indicators for Canadian business",
     "Quartile boundaries of the industry's enterprises", "A boundary shown as n/a is not available"},
    {3, "F",
     "Volume 3\u00a0: entreprises ayant de 30\u00a0000\u00a0$ à moins de 5 millions de dollars de revenu",
     "Indicateurs de performance financière des entreprises canadiennes",
     "Bornes des quartiles des entreprises de l'industrie", "Une borne indiquée n.d. n'est pas disponible"},
}};

constexpr std::array<ProvinceName, 17> kProvinces{{
    {"ALL", "Canada", "Canada"},
    {"ATLANTIC", "Atlantic Canada", "Atlantique Canada"},
    {"NS", "Nova Scotia", "Nouvelle-Écosse"},
    {"NB", "New Brunswick", "Nouveau-Brunswick"},
    {"NL", "Newfoundland and Labrador", "Terre-Neuve-et-Labrador"},
    {"PE", "Prince Edward Island", "Île-du-Prince-Édouard"},
    {"QC", "Quebec", "Québec"},
    {"ON", "Ontario", "Ontario"},
    {"PRAIRIES", "Prairies", "Prairies"},
    {"MB", "Manitoba", "Manitoba"},
    {"SK", "Saskatchewan", "Saskatchewan"},
    {"AB", "Alberta", "Alberta"},
    {"BC", "British Columbia", "Colombie-Britannique"},
    {"TERRITORIES", "Territories", "Territoires"},
    {"NT", "Northwest Territories", "Territoires du Nord-Ouest"},
    {"NU", "Nunavut", "Nunavut"},
    {"YT", "Yukon", "Yukon"},
}};

} // namespace

std::span<const TitleTable> tables() {
    return kTables;
}
const TitleTable& comparison() {
    return kTables[0];
}
const TitleTable& ratios() {
    return kTables[1];
}
const TitleTable& balanceSheet() {
    return kTables[2];
}
std::span<const VolumeDescription> volumeDescriptions() {
    return kVolumes;
}
std::span<const ProvinceName> provinceNames() {
    return kProvinces;
}

} // namespace reporttitles
