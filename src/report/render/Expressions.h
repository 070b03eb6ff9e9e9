#pragma once
// The small language of the layout files that says what a cell or a line prints:
//   "text"                                  a literal
//   {"title": "Lbl_Industry"}               a column of the report's title row
//   {"string": 106}                         an entry of the string table, in the report's language
//   {"field": "Rpt_Comparison.MyNPM", "format": "pct1", "zeroAsMissing": true}
//   {"concat": [ … ]}                       the parts side by side; missing when a field in it is
//   {"notAvailable": true}                  the layout's "not available" text
//   {"date": "prepared"}                    the day the report was prepared
//   {"ifNull": "Table.Column", "then": …, "else": …}
//   {"if": condition, "then": …, "else": …} a text or a chart, chosen by a condition:
//       {"null": "T.C"}                     the field holds no value
//       {"allMissing": ["T.C", …]}          every field is missing (no value, not a number, or 0)
//       {"negative": "T.C"}                 the field is a number below zero
//       {"flag": true}                      a row parameter that is true or false
//       {"all": [ … ]}, {"any": [ … ]}, {"not": condition}
//   {"chart": "quartileGauge", "better": "T.C", "worse": "T.C", "width": 13, "height": 1}
//                                           without better and worse: no quarter marked
//   {"chart": "quartileGauge", "lowest": "T.C", "highest": "T.C", "boundary": "T.C"}
//                                           the quarters 0 to 3 the enterprise may be in and the
//                                           boundary 1 to 3 it stands on; a null lowest marks none
//   {"chart": "divergingBar", "value": "T.C", "scale": "bar"}   scaled like the rest of column "bar";
//                                           without a value: the axis alone
//   {"chart": "divergingAxis", "scaleOf": "bar", "format": "num1"}  the scale above that column
//   {"chart": "trendLine", "firm": ["T.C", …], "median": ["T.C", …]}  a line a year each (0 missing)
//   {"chart": "medianDirection", "from": "T.C", "to": "T.C", "lower": false}  the median's way
// "title", "string", "field" and "concat" take "case": "upperFirst" or "lowerFirst" for a
// label that starts or continues a sentence, and "replace": {"from": "to", …} for the
// typography of a stored text (" - " as a dash). Charts are sized in line heights of the
// table's text. A missing figure (null, not a number, or zero where zero means missing)
// prints as the layout's "not available" text. Row templates name their parameters as ${name}.

#include "report/render/Charts.h"
#include "report/render/ReportData.h"
#include "report/render/ValueFormat.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

namespace reportrender {

// Replaces ${name} in every text of the template by the parameter. A text that is only
// "${name}" takes the parameter's own JSON value (a number stays a number).
QJsonValue substitute(const QJsonValue& templ, const QJsonObject& params, const QString& where);

[[noreturn]] void layoutError(const QString& where, const QString& what);

struct Text {
    QString text;
    bool missing = false;
    bool figure = false; // a number or a date: printed on one line, never broken
};

class Evaluator {
public:
    Evaluator(const ReportData& data, const QJsonObject& layout, const QString& fileName);

    Language language() const { return language_; }
    const ReportData& data() const { return data_; }
    const ChartStyle& chartStyle() const { return chartStyle_; }
    QString notAvailable() const { return notAvailable_; }

    // Scales of chart columns of the table being built, by column id.
    void setColumnScales(QHash<QString, double> scales) { scales_ = std::move(scales); }

    // The expression itself, or the branch its conditions choose ("if", "ifNull"), resolved
    // again until it is a plain text or chart expression.
    QJsonValue resolve(const QJsonValue& expr, const QString& where) const;
    bool test(const QJsonValue& condition, const QString& where) const;

    // A chart expression, once resolved.
    static bool isChart(const QJsonValue& expr);
    Text text(const QJsonValue& expr, const QString& where) const;
    Chart chart(const QJsonValue& expr, const QString& where, const QString& fontFamily,
                double pointSize) const;
    // The number of a field, or nothing when it is missing.
    std::optional<double> number(const QString& field, bool zeroAsMissing = false) const;
    NumberFormat format(const QJsonValue& nameOrObject, const QString& where) const;

private:
    const ReportData& data_;
    Language language_;
    QHash<QString, NumberFormat> formats_;
    QString notAvailable_;
    ChartStyle chartStyle_;
    QHash<QString, double> scales_;
};

} // namespace reportrender
