#pragma once
// Turns a layout and the report's data into a document: paragraphs, label/value
// header blocks and tables whose rows are filled from row templates.
//
// A layout file is one JSON object:
//   "report"          Comparison, Ratios or BalanceSheet: the report it is made for
//   "titles"          the title table (its Language column decides the language)
//   "sources"         [{"table": "Rpt_Data_CYM1", "required": false}, …]: the report tables read;
//                     an optional table without a row reads as nulls
//   "documentTitle", "notAvailable"            texts (see Expressions.h)
//   "page"            {"runningHeader", "footerNote", "pageLabel"}: texts of the page margins
//   "theme"           font, sizes and colours; "formats": named number formats (ValueFormat.h)
//   "paragraphStyles", "rowStyles"             named looks the blocks and rows refer to
//   "body"            the blocks, in order:
//     {"type": "paragraph", "style": …, "text": …, "pageBreakBefore": false}
//     {"type": "fields", "pairsPerRow": 2, "labelWidth": 17, "items": [{"label": …, "value": …}]}
//     {"type": "table", "id": name (for tests and readers), "caption": text, "columns": [{"id", "width" (%),
//     "align", "header", "cell"}],
//      "columnGroups": [{"span", "header"}], "rows": […], "defaults": {parameter: value},
//      "zebra": true, "fontSize", "headerFontSize", "width" (% of the page, from the left)}
// A table row is {"group": text} for a heading across the table, or the parameters of the
// column templates ("${name}"; "defaults" gives those a row leaves out) with an optional
// "style" and "cells": {"columnId": text, or
// {"span": 3, "value": text, "align": "center"}} for cells that differ from the template.
// A cell is a text, a chart or {"lines": [ … ]}, one paragraph each; a line may carry
// "fontScale", "muted" and "bold".
//
// What a reader is told of the document's structure: a paragraph of the style "title" is
// its heading of level 1, "heading" of level 2 and "caption" of level 3 (HTML h1 to h3);
// a table's caption is its "caption" text, else the heading right before it, else the
// document's title; its header rows and first column are its header cells (a "fields"
// block's labels are its header cells).

#include "report/render/ReportData.h"

#include <QJsonObject>
#include <QString>
#include <QTextDocument>
#include <QTextFormat>
#include <memory>

namespace reportrender {

// Document properties the page printer reads: the texts of each page's margins and the
// look of those texts.
namespace docprop {
inline constexpr char RunningHeader[] = "reportrender_runningHeader";
inline constexpr char FooterNote[] = "reportrender_footerNote";
inline constexpr char PageLabel[] = "reportrender_pageLabel";
inline constexpr char FontFamily[] = "reportrender_fontFamily";
inline constexpr char MutedColor[] = "reportrender_mutedColor";
inline constexpr char RuleColor[] = "reportrender_ruleColor";
inline constexpr char Language[] = "reportrender_language"; // "E" or "F"
} // namespace docprop

// Properties of a table's format that the HTML writer reads.
namespace tableprop {
inline constexpr int Caption = QTextFormat::UserProperty + 100; // QString
// Every how many columns a cell is the header of its row: 2 for label/value pairs, the
// column count where only the first column is.
inline constexpr int RowHeaderEvery = QTextFormat::UserProperty + 101;
} // namespace tableprop

// Builds the document. fileName names the layout in error messages. A layout that does
// not say what the renderer understands is an untrapped failure naming the place.
std::unique_ptr<QTextDocument> buildFromLayout(const QJsonObject& layout, const ReportData& data,
                                               const QString& fileName);

} // namespace reportrender
