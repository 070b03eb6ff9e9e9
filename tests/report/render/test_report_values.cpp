// How the reports print numbers and resolve the texts of their layouts: separators and
// decimals per language, signs, missing figures, the row templates and the errors a
// malformed layout raises.

#include "platform/Platform.h"
#include "report/render/Expressions.h"
#include "report/render/ReportData.h"
#include "report/render/ValueFormat.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using namespace reportrender;

namespace {

const QString kNbsp(QChar(0x00a0));
const QString kTrueMinus(QChar(0x2212));

QJsonObject object(const char* json) {
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

ReportData sampleData(const QString& language) {
    ReportData data;
    data.setTable(
        QStringLiteral("Rpt_Comparison_Titles"),
        {{QStringLiteral("Language"), language},
         {QStringLiteral("Lbl_NotAvailable"),
          language == QLatin1String("F") ? QStringLiteral("n.d.") : QStringLiteral("n/a")},
         {QStringLiteral("Lbl_WorseThan"),
          language == QLatin1String("F") ? QStringLiteral("Moins bonne que") : QStringLiteral("Worse than")},
         {QStringLiteral("Title_Empty"), QVariant()}});
    data.setTitleTable(QStringLiteral("Rpt_Comparison_Titles"));
    data.setTable(QStringLiteral("Rpt_Comparison"),
                  {{QStringLiteral("MyFirmName"), QStringLiteral("O'Brien Ltd.")},
                   {QStringLiteral("MyNPM"), 4.75},
                   {QStringLiteral("MyIC"), 1523.754},
                   {QStringLiteral("MyROE"), -3.5},
                   {QStringLiteral("ITQ2"), 0.0},
                   {QStringLiteral("MyDE"), QVariant()},
                   {QStringLiteral("MyNAICS"), QStringLiteral("448110")},
                   {QStringLiteral("MyVol"), QStringLiteral("Volume 3: Small firms - Nova Scotia")},
                   {QStringLiteral("MyIndustry"),
                    QStringLiteral("A") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("B")}});
    data.setPreparedOn(QDate(2027, 3, 1));
    return data;
}

const char* kLayout = R"({
  "notAvailable": {"title": "Lbl_NotAvailable"},
  "formats": {
    "pct1": {"decimals": 1, "suffix": {"E": "%", "F": "\u00a0%"}},
    "ratio2": {"decimals": 2},
    "diff1": {"decimals": 1, "sign": true}
  }
})";

} // namespace

class TestReportValues : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core);
    } // the core library is static: the program registers its resources

    void formatsNumbers_data() {
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("grouping");
        QTest::addColumn<bool>("sign");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("expected");
        QTest::newRow("english grouping")
            << 1234.5 << 1 << true << false << QString() << false << QStringLiteral("1,234.5");
        QTest::newRow("french grouping") << 1234.5 << 1 << true << false << QString() << true
                                         << QStringLiteral("1") + kNbsp + QStringLiteral("234,5");
        QTest::newRow("french millions") << -1234567.0 << 0 << true << false << QString() << true
                                         << kTrueMinus + QStringLiteral("1") + kNbsp + QStringLiteral("234") +
                                                kNbsp + QStringLiteral("567");
        QTest::newRow("two decimals")
            << 0.456 << 2 << true << false << QString() << false << QStringLiteral("0.46");
        QTest::newRow("rounds half away")
            << 2.25 << 1 << true << false << QString() << false << QStringLiteral("2.3");
        QTest::newRow("no negative zero")
            << -0.04 << 1 << true << false << QString() << false << QStringLiteral("0.0");
        QTest::newRow("plus sign") << 11.8 << 1 << true << true << QString() << false
                                   << QStringLiteral("+11.8");
        QTest::newRow("minus stays") << -8.2 << 1 << true << true << QString() << true
                                     << kTrueMinus + QStringLiteral("8,2");
        QTest::newRow("true minus sign") << -3.5 << 1 << true << false << QStringLiteral("%") << false
                                         << kTrueMinus + QStringLiteral("3.5%");
        QTest::newRow("zero has no sign")
            << 0.0 << 1 << true << true << QString() << false << QStringLiteral("0.0");
        QTest::newRow("year") << 2011.0 << 0 << false << false << QString() << false
                              << QStringLiteral("2011");
        QTest::newRow("french year") << 2011.0 << 0 << false << false << QString() << true
                                     << QStringLiteral("2011");
        QTest::newRow("percent english")
            << 4.8 << 1 << true << false << QStringLiteral("%") << false << QStringLiteral("4.8%");
        QTest::newRow("percent french") << 4.8 << 1 << true << false << kNbsp + QStringLiteral("%") << true
                                        << QStringLiteral("4,8") + kNbsp + QStringLiteral("%");
    }
    void formatsNumbers() {
        QFETCH(double, number);
        QFETCH(int, decimals);
        QFETCH(bool, grouping);
        QFETCH(bool, sign);
        QFETCH(QString, suffix);
        QFETCH(bool, french);
        QFETCH(QString, expected);
        NumberFormat f;
        f.decimals = decimals;
        f.grouping = grouping;
        f.explicitPlus = sign;
        f.suffix = suffix;
        QCOMPARE(formatNumber(number, f, french ? Language::F : Language::E), expected);
    }

    // An amount as entered shows the decimals it has, no more, no fewer than the format's own.
    void showsTheDecimalsAFigureHas_data() {
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("maxDecimals");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole dollars") << 50000.0 << 0 << 4 << false << QStringLiteral("50,000");
        QTest::newRow("one decimal") << 1234.5 << 0 << 4 << false << QStringLiteral("1,234.5");
        QTest::newRow("cents") << 303800.25 << 0 << 4 << false << QStringLiteral("303,800.25");
        QTest::newRow("four decimals") << 0.1234 << 0 << 4 << false << QStringLiteral("0.1234");
        QTest::newRow("beyond four rounds") << 2.00004 << 0 << 4 << false << QStringLiteral("2");
        QTest::newRow("zero") << 0.0 << 0 << 4 << false << QStringLiteral("0");
        QTest::newRow("French, negative")
            << -5000.5 << 0 << 4 << true
            << kTrueMinus + QStringLiteral("5") + kNbsp + QStringLiteral("000,5");
        QTest::newRow("at least one") << 2.0 << 1 << 3 << false << QStringLiteral("2.0");
        QTest::newRow("up to three") << 2.125 << 1 << 3 << false << QStringLiteral("2.125");
    }
    void showsTheDecimalsAFigureHas() {
        QFETCH(double, number);
        QFETCH(int, decimals);
        QFETCH(int, maxDecimals);
        QFETCH(bool, french);
        QFETCH(QString, expected);
        NumberFormat f;
        f.decimals = decimals;
        f.maxDecimals = maxDecimals;
        QCOMPARE(formatNumber(number, f, french ? Language::F : Language::E), expected);
    }

    void writesDates_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("expected");
        QTest::newRow("English") << QDate(2027, 3, 5) << false << QStringLiteral("March 5, 2027");
        QTest::newRow("English, first") << QDate(2027, 8, 1) << false << QStringLiteral("August 1, 2027");
        QTest::newRow("French") << QDate(2027, 3, 5) << true
                                << QStringLiteral("5") + kNbsp + QStringLiteral("mars") + kNbsp +
                                       QStringLiteral("2027");
        QTest::newRow("French, first")
            << QDate(2026, 12, 1) << true
            << QStringLiteral("1er") + kNbsp + QStringLiteral("décembre") + kNbsp + QStringLiteral("2026");
        QTest::newRow("no date") << QDate() << false << QString();
    }
    void writesDates() {
        QFETCH(QDate, date);
        QFETCH(bool, french);
        QFETCH(QString, expected);
        QCOMPARE(formatDate(date, french ? Language::F : Language::E), expected);
    }

    void readsFormatsOfTheLayout_data() {
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("french");
        QTest::addColumn<QString>("expected"); // 1234.5 printed; empty when the format is refused
        QTest::newRow("suffix per language, E")
            << R"({"decimals": 1, "suffix": {"E": "%", "F": " %"}})" << false << "1,234.5%";
        QTest::newRow("suffix per language, F")
            << R"({"decimals": 1, "suffix": {"E": "%", "F": " %"}})" << true << "1 234,5 %";
        QTest::newRow("no grouping") << R"({"decimals": 0, "grouping": false})" << false << "1235";
        QTest::newRow("prefix") << R"({"decimals": 2, "prefix": "$"})" << false << "$1,234.50";
        QTest::newRow("decimals out of range") << R"({"decimals": 9})" << false << "";
        QTest::newRow("fractional decimals") << R"({"decimals": 1.5})" << false << "";
        QTest::newRow("unknown member") << R"({"decimal": 1})" << false << "";
        QTest::newRow("sign not a flag") << R"({"sign": "yes"})" << false << "";
        QTest::newRow("not an object") << R"("pct1")" << false << "";
        QTest::newRow("decimals as needed") << R"({"decimals": 0, "maxDecimals": 2})" << false << "1,234.5";
        QTest::newRow("too many decimals as needed") << R"({"maxDecimals": 9})" << false << "";
        QTest::newRow("fewer as needed than always") << R"({"decimals": 2, "maxDecimals": 1})" << false << "";
    }
    void readsFormatsOfTheLayout() {
        QFETCH(QString, json);
        QFETCH(bool, french);
        QFETCH(QString, expected);
        const Language lang = french ? Language::F : Language::E;
        const QJsonValue v = QJsonDocument::fromJson("[" + json.toUtf8() + "]").array().at(0);
        if (expected.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(FatalError, parseNumberFormat(v, lang, QStringLiteral("test")));
            return;
        }
        QString got = formatNumber(1234.5, parseNumberFormat(v, lang, QStringLiteral("test")), lang);
        got.replace(kNbsp, QStringLiteral(" "));
        QCOMPARE(got, expected);
    }

    void languageCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("french");
        QTest::newRow("E") << "E" << false;
        QTest::newRow("F") << "F" << true;
        QTest::newRow("f with space") << " f " << true;
        QTest::newRow("empty") << "" << false;
    }
    void languageCodes() {
        QFETCH(QString, code);
        QFETCH(bool, french);
        QCOMPARE(languageFromCode(code) == Language::F, french);
    }

    void substitutesRowParameters_data() {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<QString>("expected"); // compact JSON; empty when refused
        QTest::newRow("inside a text") << R"({"field": "Rpt_Comparison.${q}Q2"})"
                                       << R"({"field":"Rpt_Comparison.NPMQ2"})";
        QTest::newRow("number kept") << R"({"string": "${name}"})"
                                     << R"({"string":106})";
        QTest::newRow("two in one text") << R"("${q}-${name}")"
                                         << R"("NPM-106")";
        QTest::newRow("in a list") << R"({"lines": ["${q}", {"title": "x${q}"}]})"
                                   << R"({"lines":["NPM",{"title":"xNPM"}]})";
        QTest::newRow("dollar text untouched") << R"("$30,000")"
                                               << R"("$30,000")";
        QTest::newRow("unknown parameter") << R"({"field": "T.${nope}"})"
                                           << "";
    }
    void substitutesRowParameters() {
        QFETCH(QString, templ);
        QFETCH(QString, expected);
        const QJsonObject params = object(R"({"q": "NPM", "name": 106})");
        const QJsonValue t = QJsonDocument::fromJson("[" + templ.toUtf8() + "]").array().at(0);
        if (expected.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(FatalError, substitute(t, params, QStringLiteral("test")));
            return;
        }
        QJsonArray wrapped{substitute(t, params, QStringLiteral("test"))};
        const QByteArray json = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
        QCOMPARE(QString::fromUtf8(json.mid(1, json.size() - 2)), expected);
    }

    void evaluatesTexts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("missing");
        QTest::newRow("literal") << "E"
                                 << "\"O'Brien\""
                                 << "O'Brien" << false;
        QTest::newRow("title") << "F"
                               << R"({"title": "Lbl_WorseThan"})"
                               << "Moins bonne que" << false;
        QTest::newRow("title lower first") << "F"
                                           << R"({"title": "Lbl_WorseThan", "case": "lowerFirst"})"
                                           << "moins bonne que" << false;
        QTest::newRow("null title") << "E"
                                    << R"({"title": "Title_Empty"})"
                                    << "n/a" << true;
        QTest::newRow("string English") << "E"
                                        << R"({"string": 106})"
                                        << "Net profit margin" << false;
        QTest::newRow("string French") << "F"
                                       << R"({"string": 106})"
                                       << "Marge bénéficiaire nette" << false;
        QTest::newRow("string trimmed") << "E"
                                        << R"({"string": 198})"
                                        << "Total shareholders' equity" << false;
        QTest::newRow("string upper first") << "F"
                                            << R"({"string": 130, "case": "upperFirst"})"
                                            << "Liquidité/solvabilité (ratios)" << false;
        QTest::newRow("text field") << "E"
                                    << R"({"field": "Rpt_Comparison.MyFirmName"})"
                                    << "O'Brien Ltd." << false;
        QTest::newRow("percent") << "E"
                                 << R"({"field": "Rpt_Comparison.MyNPM", "format": "pct1"})"
                                 << "4.8%" << false;
        QTest::newRow("percent French") << "F"
                                        << R"({"field": "Rpt_Comparison.MyNPM", "format": "pct1"})"
                                        << "4,8 %" << false;
        QTest::newRow("ratio grouped") << "E"
                                       << R"({"field": "Rpt_Comparison.MyIC", "format": "ratio2"})"
                                       << "1,523.75" << false;
        QTest::newRow("ratio grouped French") << "F"
                                              << R"({"field": "Rpt_Comparison.MyIC", "format": "ratio2"})"
                                              << "1 523,75" << false;
        QTest::newRow("negative") << "E"
                                  << R"({"field": "Rpt_Comparison.MyROE", "format": "diff1"})"
                                  << "−3.5" << false;
        QTest::newRow("inline format") << "E"
                                       << R"({"field": "Rpt_Comparison.MyNPM", "format": {"decimals": 3}})"
                                       << "4.750" << false;
        QTest::newRow("null number") << "F"
                                     << R"({"field": "Rpt_Comparison.MyDE", "format": "ratio2"})"
                                     << "n.d." << true;
        QTest::newRow("zero kept") << "E"
                                   << R"({"field": "Rpt_Comparison.ITQ2", "format": "ratio2"})"
                                   << "0.00" << false;
        QTest::newRow("zero as missing")
            << "E"
            << R"({"field": "Rpt_Comparison.ITQ2", "format": "ratio2", "zeroAsMissing": true})"
            << "n/a" << true;
        QTest::newRow("number stored as text") << "E"
                                               << R"({"field": "Rpt_Comparison.MyNAICS", "format": "ratio2"})"
                                               << "448,110.00" << false;
        QTest::newRow("text in a numeric format")
            << "E"
            << R"({"field": "Rpt_Comparison.MyFirmName", "format": "ratio2"})"
            << "O'Brien Ltd." << false;
        QTest::newRow("concat")
            << "E"
            << R"({"concat": [{"string": 106}, ": ", {"field": "Rpt_Comparison.MyNPM", "format": "pct1"}]})"
            << "Net profit margin: 4.8%" << false;
        QTest::newRow("concat with a missing part")
            << "E"
            << R"({"concat": ["Better than ", {"field": "Rpt_Comparison.MyDE", "format": "pct1"}]})"
            << "n/a" << true;
        QTest::newRow("ifNull then") << "E"
                                     << R"({"ifNull": "Rpt_Comparison.MyDE", "then": "none", "else": "some"})"
                                     << "none" << false;
        QTest::newRow("ifNull else")
            << "E"
            << R"({"ifNull": "Rpt_Comparison.MyNPM", "then": "none", "else": "some"})"
            << "some" << false;
        QTest::newRow("ifNull without else") << "E"
                                             << R"({"ifNull": "Rpt_Comparison.MyNPM", "then": "none"})"
                                             << "" << false;
        QTest::newRow("not available") << "F"
                                       << R"({"notAvailable": true})"
                                       << "n.d." << true;
        QTest::newRow("replace") << "E"
                                 << R"({"field": "Rpt_Comparison.MyVol", "replace": {" - ": " \u2013 "}})"
                                 << "Volume 3: Small firms \u2013 Nova Scotia" << false;
        QTest::newRow("stored chart character") << "E"
                                                << R"({"field": "Rpt_Comparison.MyIndustry"})"
                                                << "A\ufffdB" << false;
        QTest::newRow("date") << "E"
                              << R"({"date": "prepared"})"
                              << "March 1, 2027" << false;
        QTest::newRow("date French") << "F"
                                     << R"({"date": "prepared"})"
                                     << "1er mars 2027" << false;
        QTest::newRow("if flag") << "E"
                                 << R"({"if": {"flag": true}, "then": "yes", "else": "no"})"
                                 << "yes" << false;
        QTest::newRow("if flag off") << "E"
                                     << R"({"if": {"flag": false}, "then": "yes", "else": "no"})"
                                     << "no" << false;
        QTest::newRow("if null") << "E"
                                 << R"({"if": {"null": "Rpt_Comparison.MyDE"}, "then": "yes", "else": "no"})"
                                 << "yes" << false;
        QTest::newRow("if zero is not null")
            << "E"
            << R"({"if": {"null": "Rpt_Comparison.ITQ2"}, "then": "yes", "else": "no"})"
            << "no" << false;
        QTest::newRow("if negative")
            << "E"
            << R"({"if": {"negative": "Rpt_Comparison.MyROE"}, "then": "yes", "else": "no"})"
            << "yes" << false;
        QTest::newRow("if positive")
            << "E"
            << R"({"if": {"negative": "Rpt_Comparison.MyNPM"}, "then": "yes", "else": "no"})"
            << "no" << false;
        QTest::newRow("if null is not negative")
            << "E"
            << R"({"if": {"negative": "Rpt_Comparison.MyDE"}, "then": "yes", "else": "no"})"
            << "no" << false;
        QTest::newRow("all missing, zero and null")
            << "E"
            << R"({"if": {"allMissing": ["Rpt_Comparison.ITQ2", "Rpt_Comparison.MyDE"]}, "then": "yes", "else": "no"})"
            << "yes" << false;
        QTest::newRow("not all missing")
            << "E"
            << R"({"if": {"allMissing": ["Rpt_Comparison.ITQ2", "Rpt_Comparison.MyNPM"]}, "then": "yes", "else": "no"})"
            << "no" << false;
        QTest::newRow("all")
            << "E"
            << R"({"if": {"all": [{"flag": true}, {"negative": "Rpt_Comparison.MyNPM"}]}, "then": "yes", "else": "no"})"
            << "no" << false;
        QTest::newRow("any")
            << "E"
            << R"({"if": {"any": [{"flag": false}, {"negative": "Rpt_Comparison.MyROE"}]}, "then": "yes", "else": "no"})"
            << "yes" << false;
        QTest::newRow("not") << "E"
                             << R"({"if": {"not": {"flag": true}}, "then": "yes", "else": "no"})"
                             << "no" << false;
        QTest::newRow("nested")
            << "F"
            << R"({"if": {"flag": false}, "then": "a", "else": {"if": {"flag": true}, "then": {"title": "Lbl_WorseThan"}}})"
            << "Moins bonne que" << false;
    }
    void evaluatesTexts() {
        QFETCH(QString, language);
        QFETCH(QString, expr);
        QFETCH(QString, expected);
        QFETCH(bool, missing);
        const ReportData data = sampleData(language);
        const Evaluator ev(data, object(kLayout), QStringLiteral("test.json"));
        const QJsonValue e = QJsonDocument::fromJson("[" + expr.toUtf8() + "]").array().at(0);
        const Text t = ev.text(e, QStringLiteral("test"));
        QString got = t.text;
        got.replace(kNbsp, QStringLiteral(" "));
        QCOMPARE(got, expected);
        QCOMPARE(t.missing, missing);
    }

    void refusesWhatItCannotPrint_data() {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("error");
        QTest::newRow("unknown column") << R"({"field": "Rpt_Comparison.MyNothing"})"
                                        << "MyNothing" << int(errnum::InvalidTableName);
        QTest::newRow("unknown table") << R"({"field": "Rpt_Other.MyNPM"})"
                                       << "Rpt_Other" << int(errnum::InvalidTableName);
        QTest::newRow("no table part") << R"({"field": "MyNPM"})"
                                       << "Table.Column" << int(errnum::InvalidTableName);
        QTest::newRow("unknown format") << R"({"field": "Rpt_Comparison.MyNPM", "format": "pct9"})"
                                        << "pct9" << int(errnum::TypeMismatch);
        QTest::newRow("unknown string entry") << R"({"string": 99999})"
                                              << "99999" << int(errnum::TypeMismatch);
        QTest::newRow("unknown kind") << R"({"colour": "red"})"
                                      << "colour" << int(errnum::TypeMismatch);
        QTest::newRow("bad case") << R"({"string": 106, "case": "upper"})"
                                  << "upperFirst" << int(errnum::TypeMismatch);
        QTest::newRow("chart in a text") << R"({"chart": "quartileGauge"})"
                                         << "chart" << int(errnum::TypeMismatch);
        QTest::newRow("number as a text") << R"(12)"
                                          << "literal" << int(errnum::TypeMismatch);
        QTest::newRow("unknown condition") << R"({"if": {"maybe": 1}, "then": "a"})"
                                           << "unknown condition 'maybe'" << int(errnum::TypeMismatch);
        QTest::newRow("flag not a flag") << R"({"if": {"flag": "yes"}, "then": "a"})"
                                         << "'flag' must be true or false" << int(errnum::TypeMismatch);
        QTest::newRow("two conditions in one")
            << R"({"if": {"flag": true, "not": {"flag": true}}, "then": "a"})"
            << "one member" << int(errnum::TypeMismatch);
        QTest::newRow("empty all") << R"({"if": {"all": []}, "then": "a"})"
                                   << "'all' must list conditions" << int(errnum::TypeMismatch);
        QTest::newRow("condition on an unknown column")
            << R"({"if": {"null": "Rpt_Comparison.Nope"}, "then": "a"})"
            << "Nope" << int(errnum::InvalidTableName);
        QTest::newRow("replace not an object") << R"({"string": 106, "replace": " - "})"
                                               << "'replace' must be an object" << int(errnum::TypeMismatch);
        QTest::newRow("another date") << R"({"date": "today"})"
                                      << "'prepared'" << int(errnum::TypeMismatch);
    }
    void refusesWhatItCannotPrint() {
        QFETCH(QString, expr);
        QFETCH(QString, message);
        QFETCH(int, error);
        const ReportData data = sampleData(QStringLiteral("E"));
        const Evaluator ev(data, object(kLayout), QStringLiteral("test.json"));
        const QJsonValue e = QJsonDocument::fromJson("[" + expr.toUtf8() + "]").array().at(0);
        try {
            ev.text(e, QStringLiteral("body[1]"));
            QFAIL("no error raised");
        } catch (const FatalError& f) {
            QVERIFY2(f.description().contains(message), qPrintable(f.description()));
            QCOMPARE(f.number(), error);
        }
    }

    void readsColumnsWithoutRegardToCase() {
        const ReportData data = sampleData(QStringLiteral("E"));
        QCOMPARE(data.value(QStringLiteral("rpt_comparison.mynpm")).toDouble(), 4.75);
        QCOMPARE(data.value(QStringLiteral("Rpt_Comparison"), QStringLiteral("MYFIRMNAME")).toString(),
                 QStringLiteral("O'Brien Ltd."));
        QVERIFY(data.value(QStringLiteral("Rpt_Comparison.MyDE")).isNull());
        QCOMPARE(data.language(), Language::E);
        QCOMPARE(sampleData(QStringLiteral("F")).language(), Language::F);
    }
};

QTEST_GUILESS_MAIN(TestReportValues)
#include "test_report_values.moc"
