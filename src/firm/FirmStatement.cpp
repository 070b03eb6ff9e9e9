#include "firm/FirmStatement.h"

#include "firm/ValueText.h"
#include "text/StringTable.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

QString& FirmStatement::value(const char* column) {
    const auto i = lineitems::indexOf(QLatin1String(column));
    if (!i) throw std::logic_error(std::string("unknown line item ") + column);
    return values[*i];
}

const QString& FirmStatement::value(const char* column) const {
    return const_cast<FirmStatement*>(this)->value(column);
}

namespace firmrules {

namespace {

int idx(const char* column) {
    return *lineitems::indexOf(QLatin1String(column));
}

float single(const QString& text) {
    return static_cast<float>(valuetext::leadingNumber(text));
}

// A subtotal and the items it adds, by their index in the line-item table.
struct Subtotal {
    int target;
    std::vector<int> parts;
};

Subtotal subtotal(const char* target, std::initializer_list<const char*> parts) {
    Subtotal s{idx(target), {}};
    for (const char* p : parts)
        s.parts.push_back(idx(p));
    return s;
}

// The five subtotals in the order they are computed, resolved once: every firm compared
// or typed recomputes them.
const std::array<Subtotal, 5>& subtotals() {
    static const std::array<Subtotal, 5> all{
        subtotal("Toa", {"Cash", "Ar", "Inv", "CA", "OA"}),
        subtotal("Ta", {"Toa", "Invest", "Ptfl"}),
        subtotal("Tliab", {"AccountsPayable", "Paper", "Mtg", "Bonds", "Ol", "AmtsAffil", "OLiab", "DefTax"}),
        subtotal("Equity1", {"ShareC", "RetEarn", "OtherSur"}),
        subtotal("TotLiabShareEq", {"Tliab", "Equity1"}),
    };
    return all;
}

// Each part is taken in single precision and added to a single-precision sum, so every
// partial sum is rounded to single precision, as the stored records were computed.
void writeSum(std::array<QString, lineitems::kCount>& v, const Subtotal& total) {
    static_assert(std::numeric_limits<float>::is_iec559, "subtotals need IEEE single precision");
    float sum = 0.0f;
    for (const int p : total.parts)
        sum = sum + single(v[p]);
    v[total.target] = valuetext::singleText(sum);
}

// The indexes of the items the checks read, resolved once.
int totalAssets() {
    static const int i = idx("Ta");
    return i;
}

// The year as a 16-bit whole number written back as text, rounded half to even as
// the year box's conversion does; a text outside that range stays as it is rather
// than overflowing the conversion.
QString yearText(const QString& year) {
    const double y = valuetext::leadingNumber(year);
    if (!(y >= std::numeric_limits<int16_t>::min() - 0.5 && y < std::numeric_limits<int16_t>::max() + 0.5))
        return year;
    return QString::number(static_cast<int16_t>(std::nearbyint(y)));
}

} // namespace

void calculateSubTotals(std::array<QString, lineitems::kCount>& v) {
    for (const Subtotal& total : subtotals())
        writeSum(v, total);
}

namespace {

// The entered assets against the entered liabilities and equity, each item taken exactly as
// its normal form (ten-thousandths), so that books which balance to the cent are seen to
// balance whatever the seven-digit subtotals lost. The sums of eleven 64-bit amounts cannot
// overflow a 128-bit sum. An item beyond the normal form's range leaves the question to the
// single-precision rule.
__extension__ typedef __int128 WideSum;

bool enteredItemsBalance(const std::array<QString, lineitems::kCount>& v) {
    WideSum assets = 0, claims = 0;
    for (int i = 0; i < lineitems::kCount; ++i) {
        const lineitems::LineItem& item = lineitems::all()[i];
        if (item.kind != lineitems::Kind::Entered) continue;
        const bool asset = item.section == lineitems::Section::Assets;
        if (!asset && item.section != lineitems::Section::LiabilitiesEquity) continue;
        const std::optional<int64_t> units = valuetext::tenThousandths(v[i]);
        if (!units) return false;
        (asset ? assets : claims) += *units;
    }
    return assets == claims;
}

} // namespace

bool isBalanced(const std::array<QString, lineitems::kCount>& v) {
    static const int totalClaims = idx("TotLiabShareEq");
    return enteredItemsBalance(v) || single(v[totalAssets()]) == single(v[totalClaims]);
}

void resetValues(std::array<QString, lineitems::kCount>& v) {
    v.fill(QStringLiteral("0"));
}

void fillEmpty(std::array<QString, lineitems::kCount>& v) {
    for (QString& t : v)
        if (t.isEmpty()) t = QStringLiteral("0");
}

bool normalizeEntered(std::array<QString, lineitems::kCount>& v) {
    bool all = true;
    for (int i = 0; i < lineitems::kCount; ++i) {
        if (lineitems::all()[i].kind != lineitems::Kind::Entered) continue;
        if (const auto n = valuetext::normalForm(v[i]))
            v[i] = *n;
        else
            all = false;
    }
    return all;
}

int comparisonIndex(int lineItemIndex) {
    // Accounts payable (item 17) is the last before the empty entry 21.
    static const int accountsPayable = idx("AccountsPayable");
    return lineItemIndex <= accountsPayable ? 4 + lineItemIndex : 5 + lineItemIndex;
}

QStringList comparisonValues(const FirmStatement& firm, const QString& industryTitle) {
    QStringList a(37);
    a[0] = firm.firmName;
    a[1] = yearText(firm.year);
    a[2] = firm.naics;
    a[3] = industryTitle.trimmed();
    for (int i = 0; i < lineitems::kCount; ++i)
        a[comparisonIndex(i)] = firm.values[i];
    return a;
}

std::optional<QString> reportRequestProblem(const FirmStatement& firm, Language language) {
    // The year is compared as text, as the year box holds it.
    if (firm.year > QLatin1String("2011") || firm.year < QLatin1String("2009"))
        return strings::text("firm.invalidYear", language);
    if (!isBalanced(firm.values)) return strings::text(550, language);
    if (firm.firmName.isEmpty()) return strings::text(552, language);
    if (valuetext::leadingNumber(firm.values[totalAssets()]) == 0.0) return strings::text(560, language);
    return std::nullopt;
}

} // namespace firmrules
