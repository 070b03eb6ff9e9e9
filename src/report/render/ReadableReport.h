#pragma once
// What a reader who does not see the pictures gets of a report: each chart said in words,
// after the label of the table row it stands in ("Net profit margin: second quarter,
// better than 25%, worse than 50%"), a copy of the document that reads as text, and the
// structure of its HTML file: table captions and header cells, and the charts' alt texts.

#include "report/render/Charts.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <memory>

class QTextDocument;

namespace reportrender {

// What the chart shows, in the language.
QString chartInWords(const Chart& chart, ::Language language);

// The words of the chart at position in the document, after the label of its table row
// when it stands in the body of a table (not in its first column).
QString chartAltText(const QTextDocument& doc, int position, const Chart& chart);

// A copy of the document whose charts are their words, in brackets (the row's label stands
// before them), its columns as wide as their words need: the report as text a screen
// reader reads whole.
std::unique_ptr<QTextDocument> readableCopy(const QTextDocument& doc);

// The HTML that QTextDocument wrote for doc, given what a reader needs: each table its
// caption and header cells (th with their scope), and each chart image, in the order of
// altTexts, its alt text.
QString withReaderStructure(const QTextDocument& doc, QString html, const QStringList& altTexts);

} // namespace reportrender
