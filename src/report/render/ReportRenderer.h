#pragma once
// The three printed reports. Each is described by a layout file (reports/*.json in the
// program directory) that says what is printed where; the renderer reads it with the
// report tables the preparation filled in the user database and builds a document,
// which can be shown, printed, written as PDF or saved as self-contained HTML.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QPageSize>
#include <QString>
#include <QTextDocument>
#include <memory>

class QPagedPaintDevice;
namespace firmtrend {
struct Trend;
}

namespace reportrender {

enum class Kind { Comparison, Ratios, BalanceSheet, Trend };

// "rpt_Comparison.json", "rpt_Ratios.json", "rpt_BalanceSheet.json", "rpt_Trend.json".
QString layoutFileName(Kind kind);
// The layout file in the program's reports folder.
QString defaultLayoutPath(Kind kind);

// Reads the layout and the report tables of the open user database and builds the
// document, dated today. It is not laid out yet: printing lays it out for its device.
// A missing, unreadable or malformed layout, and a report table that has not been
// prepared, are untrapped failures (FatalError).
std::unique_ptr<QTextDocument> buildDocument(Kind kind, Connection& userDb, const QString& layoutPath);

// Builds the document of a layout from data made in memory (a report whose figures are
// computed rather than prepared in report tables).
class ReportData;
std::unique_ptr<QTextDocument> buildDocument(const ReportData& data, const QString& layoutPath);

// Adds the comparison's plain-language reading to the data of a comparison report, as the
// table "Reading" (its columns those of reading::tableRow()).
void addReading(ReportData& data);

// The trend report of a firm, from its figures in memory, dated today.
std::unique_ptr<QTextDocument> buildTrendDocument(const firmtrend::Trend& trend, Language language,
                                                  const QString& layoutPath);

// Writes the document as a PDF file, paginated with page numbers, laid out once for the
// PDF, through the one file writer: whole or not at all. A file that cannot be written is a
// WriteFailure in the report's language.
void writePdf(QTextDocument& doc, const QString& path, const QPageSize& page = QPageSize(QPageSize::Letter));

// Writes the document as one HTML file (toHtml()) in the same way.
void writeHtml(QTextDocument& doc, const QString& path);

// The document as one HTML file: the charts inline as SVG data URIs, the footer note at
// the end, every text from the data escaped. Lays nothing out.
QString toHtml(QTextDocument& doc);

// Prints on a printer (or any paged device): paginated, with page numbers, laid out once
// for the device. Returns the page count.
int print(QTextDocument& doc, QPagedPaintDevice& printer);

} // namespace reportrender
