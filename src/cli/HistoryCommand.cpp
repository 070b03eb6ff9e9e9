#include "cli/HistoryCommand.h"

#include "cli/CliCommands.h"
#include "cli/CommandErrors.h"
#include "platform/Platform.h"
#include "report/FirmTrend.h"
#include "report/RatioTable.h"
#include "report/Reading.h"
#include "report/ReadingTexts.h"
#include "report/render/LayoutFileCheck.h"
#include "report/render/ReportRenderer.h"
#include "state/modMain.h"
#include "text/StringTable.h"

#include <QTextDocument>

namespace cli {

namespace {

QString figure(const std::optional<double>& v, const ratios::Ratio& r, Language language) {
    if (!v) return QString();
    return reading::figure(r, *v, language);
}

} // namespace

int historyCommand(Connection& records, const QString& firmName, const QString& naics, const QString& pdfPath,
                   const QString& htmlPath, Language language, QTextStream& out) {
    const firmtrend::Outcome outcome =
        firmtrend::prepare(modMain::gcnData, modMain::gcnMyData, records, modMain::gintVolume,
                           modMain::gstrRegion, naics, language, firmName);
    if (!outcome.trend) throw Refused{outcome.refusal};
    const firmtrend::Trend& t = *outcome.trend;

    // One line a ratio: its name, then the firm and the median of each year (empty when missing).
    QStringList heading{QString()};
    for (const firmtrend::Year& y : t.years)
        heading << QString::number(y.year) << QString::number(y.year);
    out << heading.join(u'\t') << '\n';
    const auto all = ratios::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        QStringList line{strings::text(all[i].nameEntry, language).trimmed()};
        for (const firmtrend::Year& y : t.years)
            line << (y.notMeaningful[i].isEmpty()
                         ? figure(y.firm[i], all[i], language)
                         : readingtexts::trendLabel(QStringLiteral("Lbl_NotMeaningful"), language))
                 << figure(y.median[i], all[i], language);
        out << line.join(u'\t') << '\n';
    }
    out << '\n';
    for (const QString& sentence : t.groups)
        out << sentence << '\n';
    for (const QString& note : t.notes)
        out << note << '\n';

    if (pdfPath.isEmpty() && htmlPath.isEmpty()) return ExitOk;
    const QString layout = reportrender::defaultLayoutPath(reportrender::Kind::Trend);
    if (const auto problem = reportrender::layoutFileProblem(layout, language)) throw Refused{*problem};
    const auto doc = reportrender::buildTrendDocument(t, language, layout);
    if (!pdfPath.isEmpty()) reportrender::writePdf(*doc, pdfPath);
    if (!htmlPath.isEmpty()) reportrender::writeHtml(*doc, htmlPath);
    return ExitOk;
}

} // namespace cli
