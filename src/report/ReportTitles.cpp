#include "report/ReportTitles.h"

#include <array>

namespace reporttitles {

namespace {

constexpr Label kSampleNote{
    "Lbl_SampleNote",
    "The industry figures are synthetic sample data for demonstration; they are not published statistics.",
    "Les chiffres de l'industrie sont des données d'exemple synthétiques pour démonstration; ce ne sont pas des statistiques publiées."};

constexpr std::array kComparisonLabels{
    Label{"NAICS", nullptr, nullptr},
    Label{"Title_Report", "Comparison of an enterprise with its industry", "Comparaison d'une entreprise avec son industrie"},
    Label{"Lbl_Enterprise", "Enterprise", "Entreprise"},
    Label{"Lbl_Industry", "Industry", "Industrie"},
    Label{"Lbl_NAICS", "NAICS", "SCIAN"},
    Label{"Lbl_Year", "Reference year", "Année de référence"},
    Label{"Lbl_NumberOfFirms", "Number of firms in the industry", "Nombre d'entreprises dans l'industrie"},
    Label{"Lbl_Ratio", "Ratio", "Ratio"},
    Label{"Lbl_FirmValue", "Your enterprise", "Votre entreprise"},
    Label{"Lbl_Median", "Industry median", "Médiane de l'industrie"},
    Label{"Lbl_Position", "Position among the industry's quarters", "Position parmi les quarts de l'industrie"},
    Label{"Lbl_BetterThan", "Better than", "Meilleure que"},
    Label{"Lbl_WorseThan", "Worse than", "Moins bonne que"},
    Label{"Lbl_OfFirms", "% of the industry", "% de l'industrie"},
    Label{"Lbl_GaugeNote",
          "Each gauge shows the industry's four quarters, from the weakest (left) to the strongest (right); the marker is your enterprise.",
          "Chaque jauge montre les quatre quarts de l'industrie, du plus faible (à gauche) au plus fort (à droite); le repère est votre entreprise."},
    Label{"Lbl_ProfitsLosses", "Firms reporting profits and losses", "Entreprises déclarant des bénéfices et des pertes"},
    Label{"Lbl_OperatingProfit", "Operating profit", "Bénéfice d'exploitation"},
    Label{"Lbl_PretaxProfit", "Pretax profit", "Bénéfice avant impôts"},
    Label{"Lbl_NetProfit", "Net profit", "Bénéfice net"},
    Label{"Lbl_WithProfit", "With a profit (%)", "Avec un bénéfice (%)"},
    Label{"Lbl_WithLoss", "With a loss (%)", "Avec une perte (%)"},
    Label{"Lbl_BalanceSheet", "Balance sheet structure (% of total assets)", "Structure du bilan (% de l'actif total)"},
    Label{"Lbl_Item", "Item", "Poste"},
    Label{"Lbl_FirmShare", "Enterprise", "Entreprise"},
    Label{"Lbl_IndustryShare", "Industry", "Industrie"},
    Label{"Lbl_Difference", "Difference", "Écart"},
    Label{"Lbl_DifferenceNote",
          "A positive difference means that your enterprise carries more of the item, relative to its total assets, than the industry.",
          "Un écart positif signifie que votre entreprise détient davantage de ce poste, par rapport à son actif total, que l'industrie."},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    Label{"Lbl_Page", "Page", "Page"},
};

constexpr std::array kRatiosLabels{
    Label{"Naics", nullptr, nullptr},
    Label{"Title_LowerRight", "Reference years:", "Années de référence :"},
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
    Label{"Lbl_ProfitsLosses", "Firms reporting profits and losses (%)", "Entreprises déclarant des bénéfices et des pertes (%)"},
    Label{"Lbl_OperatingProfit", "Operating profit", "Bénéfice d'exploitation"},
    Label{"Lbl_PretaxProfit", "Pretax profit", "Bénéfice avant impôts"},
    Label{"Lbl_NetProfit", "Net profit", "Bénéfice net"},
    Label{"Lbl_WithProfit", "with a profit", "avec un bénéfice"},
    Label{"Lbl_WithLoss", "with a loss", "avec une perte"},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    Label{"Lbl_Page", "Page", "Page"},
};

constexpr std::array kBalanceSheetLabels{
    Label{"Naics", nullptr, nullptr},
    Label{"Title_LowerRight", "Reference years:", "Années de référence :"},
    Label{"Year_0", nullptr, nullptr},
    Label{"Year_1", nullptr, nullptr},
    Label{"Year_2", nullptr, nullptr},
    Label{"Title_UpperLeft", nullptr, nullptr},
    Label{"Title_LowerLeft", nullptr, nullptr},
    Label{"Title_Report", "Industry balance sheet (% of total assets)", "Bilan de l'industrie (% de l'actif total)"},
    Label{"Lbl_Industry", "Industry", "Industrie"},
    Label{"Lbl_NAICS", "NAICS", "SCIAN"},
    Label{"Lbl_Item", "Item", "Poste"},
    Label{"Lbl_NumberOfFirms", "Number of firms", "Nombre d'entreprises"},
    Label{"Lbl_NoData", "No data for this year", "Aucune donnée pour cette année"},
    Label{"Lbl_NotAvailable", "n/a", "n.d."},
    kSampleNote,
    Label{"Lbl_Page", "Page", "Page"},
};

const std::array<TitleTable, 3> kTables{{
    {"Rpt_Comparison_Titles", "Rpt_Comparison_Titles_Source", kComparisonLabels},
    {"Rpt_Ratios_Titles", "Rpt_Ratios_Titles_Source", kRatiosLabels},
    {"Rpt_BalanceSheet_Titles", "Rpt_BalanceSheet_Titles_Source", kBalanceSheetLabels},
}};

constexpr std::array<VolumeDescription, 6> kVolumes{{
    {1, "E", "Volume 1: Enterprises with revenue of $25 million or more",
     "Financial performance indicators for Canadian business", "Quartile boundaries of the industry's enterprises",
     "A boundary shown as n/a is not available"},
    {1, "F", "Volume 1 : Entreprises ayant 25 millions de dollars ou plus de revenu",
     "Indicateurs de performance financière des entreprises canadiennes", "Bornes des quartiles des entreprises de l'industrie",
     "Une borne indiquée n.d. n'est pas disponible"},
    {2, "E", "Volume 2: Enterprises with revenue of $5 million to less than $25 million",
     "Financial performance indicators for Canadian business", "Quartile boundaries of the industry's enterprises",
     "A boundary shown as n/a is not available"},
    {2, "F", "Volume 2 : Entreprises ayant de 5 millions à moins de 25 millions de dollars de revenu",
     "Indicateurs de performance financière des entreprises canadiennes", "Bornes des quartiles des entreprises de l'industrie",
     "Une borne indiquée n.d. n'est pas disponible"},
    {3, "E", "Volume 3: Enterprises with revenue of $30,000 to less than $5 million",
     "Financial performance indicators for Canadian business", "Quartile boundaries of the industry's enterprises",
     "A boundary shown as n/a is not available"},
    {3, "F", "Volume 3 : Entreprises ayant de 30 000 $ à moins de 5 millions de dollars de revenu",
     "Indicateurs de performance financière des entreprises canadiennes", "Bornes des quartiles des entreprises de l'industrie",
     "Une borne indiquée n.d. n'est pas disponible"},
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

std::span<const TitleTable> tables() { return kTables; }
const TitleTable& comparison() { return kTables[0]; }
const TitleTable& ratios() { return kTables[1]; }
const TitleTable& balanceSheet() { return kTables[2]; }
std::span<const VolumeDescription> volumeDescriptions() { return kVolumes; }
std::span<const ProvinceName> provinceNames() { return kProvinces; }

} // namespace reporttitles
