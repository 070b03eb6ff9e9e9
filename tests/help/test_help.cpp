// The help viewer and what it shows: its command line, the four help pages (structure,
// topics, links, the ratio names, the terms of use), what the pages say about placing a
// firm among the quartiles, searching and typing values, checked against what the
// program does, scrolling to a topic, the message for a file it cannot show, the
// viewer's labels, and the program's SVG images.

#include "firm/ValueText.h"
#include "help/HelpContent.h"
#include "help/HelpWindow.h"
#include "report/RatioCalc.h"
#include "report/RatioTable.h"
#include "text/StringTable.h"
#include "userdb/UserDatabaseFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kHelpDir = QStringLiteral(VENTROLUX_SOURCE_DIR "/resources/help/");
const QString kImageDir = QStringLiteral(VENTROLUX_SOURCE_DIR "/resources/images/");
const QString kBinDir = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/");

const QStringList kHelpFiles{u"MOLV_ConceptsHelp_Eng.html"_s, u"MOLV_ConceptsHelp_Fre.html"_s,
                             u"MOLV_Tech_Help_Eng.html"_s, u"MOLV_Tech_Help_Fre.html"_s};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The document exactly as the viewer builds it.
std::unique_ptr<QTextDocument> documentOf(const QString& path) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setHtml(help::loadHelpFile(path).html);
    return doc;
}

QSet<QString> anchorsOf(const QTextDocument& doc) {
    QSet<QString> names;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            for (const QString& n : it.fragment().charFormat().anchorNames())
                names.insert(n);
    return names;
}

QList<int> topicNumbers(const QSet<QString>& anchors) {
    static const QRegularExpression topic(u"^topic-(\\d+)$"_s);
    QList<int> numbers;
    for (const QString& a : anchors)
        if (auto m = topic.match(a); m.hasMatch()) numbers << m.captured(1).toInt();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// Folds the markup's line breaks and indentation into single blanks. No-break spaces
// are kept: French writes "25 %" with one, and the pages are checked for it.
QString collapseBlanks(QString text) {
    static const QRegularExpression blanks(u"[ \\t\\r\\n]+"_s);
    text.replace(blanks, u" "_s);
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// The text inside the element carrying the given id, read from the file itself.
QString textOfElement(const QString& path, const QString& id) {
    QXmlStreamReader xml(readAll(path));
    QString text;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (depth > 0 || xml.attributes().value(u"id"_s) == id) ++depth;
        } else if (xml.isEndElement() && depth > 0) {
            --depth;
        } else if (xml.isCharacters() && depth > 0) {
            text += xml.text();
        }
    }
    return collapseBlanks(text);
}

// One cell of a help page's table: its text and the phrases set in italics in it.
struct Cell {
    QString text;
    QStringList italics;
};
using Row = QList<Cell>;
using Table = QList<Row>;

// The tables inside the element carrying the given id, read from the file itself.
QList<Table> tablesIn(const QString& path, const QString& id) {
    QXmlStreamReader xml(readAll(path));
    QList<Table> tables;
    int depth = 0;
    Cell* cell = nullptr;
    bool italic = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (depth == 0 && xml.attributes().value(u"id"_s) != id) continue;
            ++depth;
            const QStringView name = xml.name();
            if (name == u"table") {
                tables.append(Table{});
            } else if (name == u"tr" && !tables.isEmpty()) {
                tables.last().append(Row{});
            } else if ((name == u"td" || name == u"th") && !tables.isEmpty() && !tables.last().isEmpty()) {
                tables.last().last().append(Cell{});
                cell = &tables.last().last().last();
            } else if (name == u"i" && cell) {
                italic = true;
                cell->italics.append(QString());
            }
        } else if (xml.isEndElement() && depth > 0) {
            --depth;
            const QStringView name = xml.name();
            if (name == u"td" || name == u"th") cell = nullptr;
            if (name == u"i") italic = false;
        } else if (xml.isCharacters() && cell) {
            cell->text += xml.text();
            if (italic) cell->italics.last() += xml.text();
        }
    }
    for (Table& table : tables)
        for (Row& row : table)
            for (Cell& c : row) {
                c.text = collapseBlanks(c.text);
                for (QString& phrase : c.italics)
                    phrase = collapseBlanks(phrase);
            }
    return tables;
}

QStringList column(const Table& table, int index) {
    QStringList cells;
    for (const Row& row : table.mid(1)) // the first row holds the headings
        cells << (index < row.size() ? row[index].text : QString());
    return cells;
}

// "75%" or "75 %" as a number; -1 when the cell holds something else.
double percentOf(const QString& cell) {
    static const QRegularExpression percent(u"^(\\d+)\u00a0?%$"_s);
    const QRegularExpressionMatch m = percent.match(cell);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// The texts of an SVG image that carry a percentage.
QStringList percentTextsOf(const QString& svgPath) {
    QXmlStreamReader xml(readAll(svgPath));
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text") {
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (text.contains(u'%')) texts << text;
        }
    return texts;
}

QStringList imagesOf(const QString& path) {
    static const QRegularExpression image(u"<img\\s[^>]*src=\"([^\"]+)\""_s);
    QStringList names;
    for (auto it = image.globalMatch(QString::fromUtf8(readAll(path))); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

// Industry titles of the sample reference database, in one language.
QStringList sampleTitles(const QString& column, QStringList* codes = nullptr) {
    QStringList titles;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"help-titles"_s);
        db.setDatabaseName(kBinDir + u"KLV_DATA.db"_s);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        if (db.open()) {
            QSqlQuery q(db);
            // The column name is one of two fixed names chosen by the test, never typed text.
            if (q.exec(u"SELECT NAICS, %1 FROM ZEBRO_NAICS_Description_Ind_Detailed"_s.arg(column)))
                while (q.next()) {
                    if (codes) *codes << q.value(0).toString();
                    titles << q.value(1).toString();
                }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"help-titles"_s);
    return titles;
}

QStringList svgWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) svgWarnings << message;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    // The technical help names the copies the program really writes beside the user
    // database, with the names it gives them, and how to go back to one.
    void technicalHelpNamesTheProgramsOwnCopies_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("restore");
        QTest::newRow("English") << "MOLV_Tech_Help_Eng.html"
                                 << "To go back to such a copy";
        QTest::newRow("French") << "MOLV_Tech_Help_Fre.html"
                                << "Pour revenir à une telle copie";
    }
    void technicalHelpNamesTheProgramsOwnCopies() {
        QFETCH(QString, file);
        QFETCH(QString, restore);
        const QString text = documentOf(kHelpDir + file)->toPlainText();
        const QDateTime at(QDate(2026, 12, 8), QTime(9, 30, 0));
        for (const char* kind : {"bak", "damaged"}) {
            const QString written = QFileInfo(userdb::timestampedName(QStringLiteral("/nowhere/myData.db"),
                                                                      QLatin1String(kind), at))
                                        .fileName();
            // The example names the backup the program writes; the pattern names both kinds.
            QVERIFY2(text.contains(written.left(written.indexOf(u'-') + 1)), qPrintable(written));
        }
        QVERIFY(text.contains(QFileInfo(userdb::timestampedName(QStringLiteral("/nowhere/myData.db"),
                                                                QStringLiteral("bak"), at))
                                  .fileName()));
        QVERIFY(text.contains(restore));
    }

    // The core library is static: the program registers its resources (the string table).
    void initTestCase() { Q_INIT_RESOURCE(core); }
    void parseArguments_data();
    void parseArguments();
    void anchorForTopic();

    void helpFileIsWellFormed_data();
    void helpFileIsWellFormed();
    void topicsMatchBetweenLanguages_data();
    void topicsMatchBetweenLanguages();
    void linksAndImagesResolve_data();
    void linksAndImagesResolve();
    void ratioNamesAppear_data();
    void ratioNamesAppear();
    void termsOfUseNotice_data();
    void termsOfUseNotice();

    void positionTableMatchesThePlacing_data();
    void positionTableMatchesThePlacing();
    void betterAndWorseExplained_data();
    void betterAndWorseExplained();
    void lowerIsBetterQuartilesRunWorstToBest_data();
    void lowerIsBetterQuartilesRunWorstToBest();
    void correctedStatements_data();
    void correctedStatements();
    void searchExamplesFindIndustries_data();
    void searchExamplesFindIndustries();
    void numberEntryAdviceHolds_data();
    void numberEntryAdviceHolds();
    void quartileImageInPageLanguage_data();
    void quartileImageInPageLanguage();

    void viewerScrollsToTopic_data();
    void viewerScrollsToTopic();
    void unusableFileShowsItsReason_data();
    void unusableFileShowsItsReason();
    void printLabelFollowsPageLanguage_data();
    void printLabelFollowsPageLanguage();

    void svgImageRenders_data();
    void svgImageRenders();
    void bannerShowsOnlyTheProductName();
};

void TestHelp::parseArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("onDisk");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("topic"); // 0: none
    QTest::addColumn<QStringList>("ignored");

    // Arguments, paths on disk and ignored arguments are written with '|' between them.
    const struct {
        const char *tag, *args, *onDisk, *file;
        int topic;
        const char* ignored;
    } rows[] = {
        {"file only", "/vx/h.html", "/vx/h.html", "/vx/h.html", 0, ""},
        {"file and topic", "/vx/h.html|7", "/vx/h.html", "/vx/h.html", 7, ""},
        {"terms of use", "/vx/h.html|9999", "/vx/h.html", "/vx/h.html", 9999, ""},
        {"blanks, one argument", "/my docs/v x.html|3", "/my docs/v x.html", "/my docs/v x.html", 3, ""},
        {"blanks, split by the caller", "/my|docs/v|x.html|3", "/my docs/v x.html", "/my docs/v x.html", 3,
         ""},
        {"blanks, split, no topic", "/my|docs/v|x.html", "/my docs/v x.html", "/my docs/v x.html", 0, ""},
        {"split, nothing exists", "/my|docs/v|x.html", "", "/my", 0, "x.html"},
        {"exact first argument wins", "/a|b", "/a|/a b", "/a", 0, ""},
        {"topic not a number", "/vx/h.html|abc", "/vx/h.html", "/vx/h.html", 0, ""},
        {"topic with letters", "/vx/h.html|12b", "/vx/h.html", "/vx/h.html", 0, ""},
        {"negative topic", "/vx/h.html|-2", "/vx/h.html", "/vx/h.html", 0, ""},
        {"zero topic", "/vx/h.html|0", "/vx/h.html", "/vx/h.html", 0, ""},
        {"topic too large", "/vx/h.html|99999999999", "/vx/h.html", "/vx/h.html", 0, ""},
        {"topic with blanks", "/vx/h.html| 12 ", "/vx/h.html", "/vx/h.html", 12, ""},
        {"extra arguments", "/vx/h.html|4|extra|more", "/vx/h.html", "/vx/h.html", 4, "extra|more"},
        {"no arguments", "", "", "", 0, ""},
    };
    auto list = [](const char* text) { return QString::fromUtf8(text).split(u'|', Qt::SkipEmptyParts); };
    for (const auto& r : rows)
        QTest::newRow(r.tag) << list(r.args) << list(r.onDisk) << QString::fromUtf8(r.file) << r.topic
                             << list(r.ignored);
}

void TestHelp::parseArguments() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, onDisk);
    QFETCH(QString, file);
    QFETCH(int, topic);
    QFETCH(QStringList, ignored);

    const help::HelpRequest r =
        help::parseArguments(args, [&](const QString& p) { return onDisk.contains(p); });
    QCOMPARE(r.file, file);
    QCOMPARE(r.topic.has_value(), topic != 0);
    if (topic != 0) QCOMPARE(*r.topic, topic);
    QCOMPARE(r.ignored, ignored);
}

void TestHelp::anchorForTopic() {
    QCOMPARE(help::anchorForTopic(1), u"topic-1"_s);
    QCOMPARE(help::anchorForTopic(42), u"topic-42"_s);
    QCOMPARE(help::anchorForTopic(9999), u"topic-9999"_s);
}

void TestHelp::helpFileIsWellFormed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language");
    for (const QString& name : kHelpFiles)
        QTest::newRow(qPrintable(name)) << name << (name.contains(u"_Fre"_s) ? u"fr"_s : u"en"_s);
}

// The pages are written as well-formed markup so that an unclosed element, which the
// browser would silently swallow together with the text after it, is caught here.
void TestHelp::helpFileIsWellFormed() {
    QFETCH(QString, name);
    QFETCH(QString, language);
    const QString path = kHelpDir + name;

    QXmlStreamReader xml(readAll(path));
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(u"line %1: %2"_s.arg(xml.lineNumber()).arg(xml.errorString())));

    const help::HelpFile file = help::loadHelpFile(path);
    QVERIFY(file.ok());
    QVERIFY(!file.title.isEmpty());
    QVERIFY2(file.title != name, "the page has no <title>");
    QVERIFY(file.title.contains(u"Ventrolux"_s));
    QCOMPARE(file.language, language);
    // The program opens the copy in the program directory.
    QCOMPARE(readAll(kBinDir + name), readAll(path));
}

void TestHelp::topicsMatchBetweenLanguages_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("french");
    QTest::addColumn<bool>("termsOfUse");
    QTest::newRow("concepts") << kHelpFiles[0] << kHelpFiles[1] << true;
    QTest::newRow("technical") << kHelpFiles[2] << kHelpFiles[3] << false;
}

// The program asks for a topic by number whatever the language, so both versions of a
// page number their sections alike: 1, 2, 3… and 9999 for the terms of use.
void TestHelp::topicsMatchBetweenLanguages() {
    QFETCH(QString, english);
    QFETCH(QString, french);
    QFETCH(bool, termsOfUse);

    const QList<int> en = topicNumbers(anchorsOf(*documentOf(kHelpDir + english)));
    const QList<int> fr = topicNumbers(anchorsOf(*documentOf(kHelpDir + french)));
    QCOMPARE(fr, en);
    QCOMPARE(en.contains(9999), termsOfUse);
    QList<int> numbered = en;
    numbered.removeAll(9999);
    QVERIFY(numbered.size() >= 8);
    for (int i = 0; i < numbered.size(); ++i)
        QCOMPARE(numbered[i], i + 1);
}

void TestHelp::linksAndImagesResolve_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : kHelpFiles)
        QTest::newRow(qPrintable(name)) << name;
}

void TestHelp::linksAndImagesResolve() {
    QFETCH(QString, name);
    const auto doc = documentOf(kHelpDir + name);
    const QSet<QString> own = anchorsOf(*doc);
    int links = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString image = format.toImageFormat().name();
                QVERIFY2(!QImage(kHelpDir + image).isNull(), qPrintable(image));
                QCOMPARE(readAll(kBinDir + image), readAll(kHelpDir + image));
            }
            if (!format.isAnchor() || format.anchorHref().isEmpty()) continue;
            const QUrl href(format.anchorHref());
            if (!href.scheme().isEmpty()) continue; // outside links open in a web browser
            ++links;
            QSet<QString> targetAnchors = own;
            if (!href.path().isEmpty()) {
                const QString target = kHelpDir + href.path();
                QVERIFY2(QFileInfo::exists(target), qPrintable(href.toString()));
                targetAnchors = anchorsOf(*documentOf(target));
            }
            if (href.hasFragment())
                QVERIFY2(targetAnchors.contains(href.fragment()), qPrintable(href.toString()));
        }
    }
    QVERIFY(links > 10); // at least the table of contents
}

// Each ratio under the name the screens and reports give it, in the page's language.
void TestHelp::ratioNamesAppear_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ratio");
    QCOMPARE(ratios::all().size(), size_t(15));
    for (int language : {0, 1})
        for (const ratios::Ratio& r : ratios::all()) {
            const QString ratio = strings::text(r.nameEntry, language::fromFlag(language));
            QTest::newRow(qPrintable((language ? u"Fre: "_s : u"Eng: "_s) + ratio))
                << kHelpFiles[language] << ratio;
        }
}

void TestHelp::ratioNamesAppear() {
    QFETCH(QString, name);
    QFETCH(QString, ratio);
    QVERIFY(!ratio.trimmed().isEmpty());
    const QString text = documentOf(kHelpDir + name)->toPlainText().simplified();
    QVERIFY2(text.contains(ratio), qPrintable(ratio));
}

void TestHelp::termsOfUseNotice_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("phrases");
    QTest::newRow("english") << kHelpFiles[0]
                             << QStringList{u"SYNTHETIC SAMPLE DATA"_s, u"not published statistics"_s,
                                            u"must not be used"_s,      u"as is"_s,
                                            u"without warranty"_s,      u"myData.db"_s};
    QTest::newRow("french") << kHelpFiles[1]
                            << QStringList{u"DONNÉES D'EXEMPLE SYNTHÉTIQUES"_s,
                                           u"pas des statistiques publiées"_s,
                                           u"ne doivent servir à aucune décision"_s,
                                           u"tel quel"_s,
                                           u"sans garantie"_s,
                                           u"myData.db"_s};
}

void TestHelp::termsOfUseNotice() {
    QFETCH(QString, name);
    QFETCH(QStringList, phrases);
    const QString notice = textOfElement(kHelpDir + name, u"topic-9999"_s);
    QVERIFY(!notice.isEmpty());
    for (const QString& phrase : phrases)
        QVERIFY2(notice.contains(phrase), qPrintable(phrase));
}

// The table of the quartiles section, row by row, as the help gives it; each row is then
// tried with the program's own placing: a value in the region the row names, against
// the industry figures of the section's example (net profit margin for the ratios where
// higher is better, debt to equity for the two where lower is better).
void TestHelp::positionTableMatchesThePlacing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("higherIsBetter");
    QTest::addColumn<QStringList>("lowerIsBetter");
    QTest::addColumn<QStringList>("better");
    QTest::addColumn<QStringList>("worse");
    QTest::newRow("english") << kHelpFiles[0]
                             << QStringList{u"above Q3"_s, u"between the median and Q3"_s,
                                            u"between Q1 and the median"_s, u"below Q1"_s}
                             << QStringList{u"below Q3"_s, u"between Q3 and the median"_s,
                                            u"between the median and Q1"_s, u"above Q1"_s}
                             << QStringList{u"75%"_s, u"50%"_s, u"25%"_s, u"0%"_s}
                             << QStringList{u"0%"_s, u"25%"_s, u"50%"_s, u"75%"_s};
    QTest::newRow("french") << kHelpFiles[1]
                            << QStringList{u"au-dessus de Q3"_s, u"entre la médiane et Q3"_s,
                                           u"entre Q1 et la médiane"_s, u"sous Q1"_s}
                            << QStringList{u"sous Q3"_s, u"entre Q3 et la médiane"_s,
                                           u"entre la médiane et Q1"_s, u"au-dessus de Q1"_s}
                            << QStringList{u"75\u00a0%"_s, u"50\u00a0%"_s, u"25\u00a0%"_s, u"0\u00a0%"_s}
                            << QStringList{u"0\u00a0%"_s, u"25\u00a0%"_s, u"50\u00a0%"_s, u"75\u00a0%"_s};
}

void TestHelp::positionTableMatchesThePlacing() {
    QFETCH(QString, name);
    QFETCH(QStringList, higherIsBetter);
    QFETCH(QStringList, lowerIsBetter);
    QFETCH(QStringList, better);
    QFETCH(QStringList, worse);

    const QList<Table> tables = tablesIn(kHelpDir + name, u"topic-7"_s);
    QCOMPARE(tables.size(), 1);
    const Table& table = tables.first();
    QCOMPARE(column(table, 0), higherIsBetter);
    QCOMPARE(column(table, 1), lowerIsBetter);
    QCOMPARE(column(table, 2), better);
    QCOMPARE(column(table, 3), worse);

    // A value inside each region, top row to bottom row.
    const double margin[] = {9.0, 5.6, 3.0, 1.0};       // Q1 1.8, median 4.2, Q3 7.9
    const double leverage[] = {0.30, 0.80, 1.90, 3.50}; // Q1 2.60, median 1.20, Q3 0.45
    for (int i = 0; i < 4; ++i) {
        const double shownBetter = percentOf(better[i]);
        const double shownWorse = percentOf(worse[i]);
        QCOMPARE(fncCalcBetter(1.8, 4.2, 7.9, margin[i]), shownBetter);
        QCOMPARE(fncCalcWorse(1.8, 4.2, 7.9, margin[i]), shownWorse);
        QCOMPARE(fncExceptionCalcBetter(2.60, 1.20, 0.45, leverage[i]), shownBetter);
        QCOMPARE(fncExceptionCalcWorse(2.60, 1.20, 0.45, leverage[i]), shownWorse);
    }
}

// What the two figures mean, and the sums the help states, checked with the placing
// itself: 75 inside a quarter, 50 on a boundary, 25 and 25 at the median.
void TestHelp::betterAndWorseExplained_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("phrases");
    QTest::newRow("english")
        << kHelpFiles[0]
        << QStringList{u"The quarter the firm falls in counts in neither figure"_s,
                       u"The two figures therefore add up to 75%, not 100%."_s,
                       u"Worse than 0% does not mean that no firm does better"_s,
                       u"up to 25% of the industry, the rest of that quarter, may still do better"_s,
                       u"better than 0% means that at most 25% of the industry does worse"_s,
                       u"so the two figures add up to 50%"_s,
                       u"it is better than 25% and worse than 25%"_s};
    QTest::newRow("french")
        << kHelpFiles[1]
        << QStringList{
               u"Le quart où se trouve l'entreprise n'est compté dans aucun des deux chiffres"_s,
               u"Les deux chiffres totalisent donc 75\u00a0%, et non 100\u00a0%."_s,
               u"Moins bonne que 0\u00a0% ne veut pas dire qu'aucune entreprise ne fait mieux"_s,
               u"jusqu'à 25\u00a0% de l'industrie, le reste de ce quart, peut encore faire mieux"_s,
               u"meilleure que 0\u00a0% signifie qu'au plus 25\u00a0% de l'industrie fait moins bien"_s,
               u"les deux chiffres totalisent alors 50\u00a0%"_s,
               u"elle est meilleure que 25\u00a0% et moins bonne que 25\u00a0%"_s};
}

void TestHelp::betterAndWorseExplained() {
    QFETCH(QString, name);
    QFETCH(QStringList, phrases);
    const QString text = textOfElement(kHelpDir + name, u"topic-7"_s);
    for (const QString& phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase));

    const double q1 = 1.8, q2 = 4.2, q3 = 7.9;
    for (double inside : {1.0, 3.0, 5.6, 9.0})
        QCOMPARE(fncCalcBetter(q1, q2, q3, inside) + fncCalcWorse(q1, q2, q3, inside), 75.0);
    for (double boundary : {q1, q2, q3})
        QCOMPARE(fncCalcBetter(q1, q2, q3, boundary) + fncCalcWorse(q1, q2, q3, boundary), 50.0);
    QCOMPARE(fncCalcBetter(q1, q2, q3, q2), 25.0);
    QCOMPARE(fncCalcWorse(q1, q2, q3, q2), 25.0);
    for (double boundary : {2.60, 1.20, 0.45})
        QCOMPARE(fncExceptionCalcBetter(2.60, 1.20, 0.45, boundary) +
                     fncExceptionCalcWorse(2.60, 1.20, 0.45, boundary),
                 50.0);
}

// For debt to equity and liabilities to assets the stored boundaries run from the most
// indebted quarter to the least: Q1 is the highest value. The worked example uses the
// example firm's own debt to equity.
void TestHelp::lowerIsBetterQuartilesRunWorstToBest_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("says");
    QTest::addColumn<QStringList>("neverSays");
    QTest::newRow("english")
        << kHelpFiles[0]
        << QStringList{u"Q1 is the highest value"_s, u"Q3 is the lowest value"_s,
                       u"a firm below Q3 is among the 25% least indebted"_s,
                       u"For debt to equity, with Q1 2.60, median 1.20 and Q3 0.45, its 1.03 "
                       "lies between Q3 and the median"_s,
                       u"it is again better than 50% and worse than 25%"_s}
        << QStringList{u"below Q1 is among"_s, u"Q1 0.45"_s};
    QTest::newRow("french")
        << kHelpFiles[1]
        << QStringList{u"Q1 est la valeur la plus élevée"_s, u"Q3 est la valeur la plus basse"_s,
                       u"une entreprise sous Q3 fait partie des 25\u00a0% les moins endettées"_s,
                       u"Pour le ratio d'endettement, avec Q1 2,60, médiane 1,20 et Q3 0,45, son "
                       "1,03 se situe entre Q3 et la médiane"_s,
                       u"elle est là encore meilleure que 50\u00a0% et moins bonne que 25\u00a0%"_s}
        << QStringList{u"sous Q1 fait partie"_s, u"Q1 0,45"_s};
}

void TestHelp::lowerIsBetterQuartilesRunWorstToBest() {
    QFETCH(QString, name);
    QFETCH(QStringList, says);
    QFETCH(QStringList, neverSays);
    const QString text = textOfElement(kHelpDir + name, u"topic-7"_s);
    for (const QString& phrase : says)
        QVERIFY2(text.contains(phrase), qPrintable(phrase));
    for (const QString& phrase : neverSays)
        QVERIFY2(!text.contains(phrase), qPrintable(phrase));

    // The example firm of the technical help: mortgages 90,000, loans 55,000, owing to
    // affiliates 25,000, equity 165,000.
    ratiocalc::FirmNumbers firm{};
    firm[23] = 90000;  // Mtg
    firm[25] = 55000;  // Ol
    firm[26] = 25000;  // AmtsAffil
    firm[33] = 165000; // Equity1
    const double debtToEquity = ratiocalc::computeRatios(firm)[12];
    QCOMPARE(QString::number(debtToEquity, 'f', 2), u"1.03"_s);
    QCOMPARE(fncExceptionCalcBetter(2.60, 1.20, 0.45, debtToEquity), 50.0);
    QCOMPARE(fncExceptionCalcWorse(2.60, 1.20, 0.45, debtToEquity), 25.0);
}

// Statements the pages once got wrong: what they say now, and what they no longer say.
void TestHelp::correctedStatements_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("neverSays");
    const struct {
        const char *tag, *topic, *says, *neverSays;
        int page;
    } rows[] = {
        {"pretax profit to assets depends on financing", "topic-6",
         "the ratio also depends on how the assets are financed", "whatever its financing", 0},
        {"fr: pretax profit to assets depends on financing", "topic-6",
         "le ratio dépend aussi du financement", "quel qu'en soit le financement", 1},
        {"comparison report shows the median and a gauge", "topic-11",
         "the firm's value, the industry's median, and a gauge", "the industry's Q1, median and Q3", 0},
        {"fr: comparison report shows the median and a gauge", "topic-11",
         "la valeur de l'entreprise, la médiane de l'industrie et une jauge", "le Q1, la médiane et le Q3",
         1},
        {"missing quartile printed n/a", "topic-7",
         "A quartile printed as n/a in the reports is not available", "A quartile shown as 0", 0},
        {"fr: missing quartile printed n.d.", "topic-7", "Un quartile indiqué n.d. dans les rapports",
         "Un quartile affiché comme 0", 1},
        {"fr: compare not with it", "topic-7", "Ne comparez pas l'entreprise à ce chiffre.",
         "N'y comparez pas", 1},
        {"fr: both sides of the balance sheet", "topic-9",
         "valent 100\u00a0% pour l'entreprise comme pour l'industrie", "des deux côtés", 1},
        {"fr: a new record", "topic-10", "Créez une nouvelle fiche d'entreprise", "Commencez une nouvelle",
         1},
        {"fr: New makes a blank record", "topic-10", "Nouveau crée une fiche vierge",
         "commence une entreprise", 1},
        {"fr: revenue is the entry field's word", "topic-6",
         "Bénéfice net après impôts ÷ Revenus d'exploitation", "÷ Recettes", 1},
        {"fr: the denominator", "topic-6", "Le dénominateur correspond aux ventes de biens et services",
         "est bien les ventes", 1},
        // The headings of the volumes table run together in the text.
        {"fr: volume coverage", "topic-3", "VolumeEntreprisesCouverture", "EntreprisesTerritoire", 1},
        {"fr: tax decisions", "topic-9999", "décision d'affaires, de crédit, d'impôt, de placement",
         "fiscale", 1},
        {"grocery store", "topic-6", "(a grocery store)", "(a grocery)", 0},
        {"specialized", "topic-6", "specialized equipment", "specialised", 0},
        {"before producing a report", "topic-10", "Before producing a report", "Before a report", 0},
    };
    for (const auto& r : rows)
        QTest::newRow(r.tag) << kHelpFiles[r.page] << QString::fromUtf8(r.topic) << QString::fromUtf8(r.says)
                             << QString::fromUtf8(r.neverSays);
}

void TestHelp::correctedStatements() {
    QFETCH(QString, name);
    QFETCH(QString, topic);
    QFETCH(QString, says);
    QFETCH(QString, neverSays);
    const QString text = textOfElement(kHelpDir + name, topic);
    QVERIFY(!text.isEmpty());
    QVERIFY2(text.contains(says), qPrintable(says));
    QVERIFY2(!text.contains(neverSays), qPrintable(neverSays));
}

// Every example of the search methods finds an industry in the sample data: the code
// as the exact six digits, the title and keyword examples inside a title of the page's
// language (the keyword search looks in titles, whatever the letter case).
void TestHelp::searchExamplesFindIndustries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("titleColumn");
    QTest::addColumn<QString>("codeRow");
    QTest::addColumn<QStringList>("wordRows");
    QTest::addColumn<QString>("keywordSays");
    QTest::newRow("english") << kHelpFiles[0] << u"Description"_s << u"NAICS Code"_s
                             << QStringList{u"NAICS Title"_s, u"Key word Search"_s}
                             << u"lists the industries whose title contains it"_s;
    QTest::newRow("french") << kHelpFiles[1] << u"Description_french"_s << u"Code du SCIAN"_s
                            << QStringList{u"Titre du SCIAN"_s, u"Mot clé"_s}
                            << u"énumère les industries dont le titre le contient"_s;
}

void TestHelp::searchExamplesFindIndustries() {
    QFETCH(QString, name);
    QFETCH(QString, titleColumn);
    QFETCH(QString, codeRow);
    QFETCH(QStringList, wordRows);
    QFETCH(QString, keywordSays);

    QStringList codes;
    const QStringList titles = sampleTitles(titleColumn, &codes);
    QVERIFY(titles.size() >= 250);

    const QList<Table> tables = tablesIn(kHelpDir + name, u"topic-4"_s);
    QCOMPARE(tables.size(), 1);
    QHash<QString, Cell> howItWorks;
    for (const Row& row : tables.first().mid(1))
        if (row.size() == 2) howItWorks.insert(row[0].text, row[1]);

    QVERIFY2(howItWorks.contains(codeRow), qPrintable(codeRow));
    static const QRegularExpression number(u"\\b\\d{2,}\\b"_s);
    QStringList codesShown;
    for (auto it = number.globalMatch(howItWorks[codeRow].text); it.hasNext();)
        codesShown << it.next().captured(0);
    QVERIFY(!codesShown.isEmpty());
    for (const QString& code : codesShown)
        QVERIFY2(codes.contains(code), qPrintable(code + u" is not a code of the sample data"_s));

    for (const QString& rowName : wordRows) {
        QVERIFY2(howItWorks.contains(rowName), qPrintable(rowName));
        const QStringList examples = howItWorks[rowName].italics;
        QVERIFY(!examples.isEmpty());
        for (const QString& word : examples) {
            const bool found = std::any_of(titles.begin(), titles.end(), [&](const QString& title) {
                return title.contains(word, Qt::CaseInsensitive);
            });
            QVERIFY2(found, qPrintable(u"\""_s + word + u"\" finds no title"_s));
        }
    }
    QVERIFY2(howItWorks[wordRows.last()].text.contains(keywordSays), qPrintable(keywordSays));
}

// The advice on typing amounts, each claim tried with the program's own reading of a
// value box's text.
void TestHelp::numberEntryAdviceHolds_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("readAs");
    QTest::newRow("comma ends the number")
        << kHelpFiles[0] << u"so 42,000 would be read as 42"_s << u"42,000"_s << 42.0;
    QTest::newRow("spaces are ignored")
        << kHelpFiles[0] << u"spaces between groups of digits are ignored (42 000)"_s << u"42 000"_s
        << 42000.0;
    QTest::newRow("fr: decimal comma") << kHelpFiles[1]
                                       << u"N'utilisez pas la virgule décimale\u00a0: une virgule termine le "
                                          "nombre, et 42,50 serait lu 42."_s
                                       << u"42,50"_s << 42.0;
    QTest::newRow("fr: decimal point")
        << kHelpFiles[1] << u"avec un point avant les cents"_s << u"42000.50"_s << 42000.5;
    QTest::newRow("fr: ordinary spaces")
        << kHelpFiles[1]
        << u"Les espaces ordinaires entre les groupes de chiffres sont ignorés "
           "(42 000)."_s
        << u"42 000"_s << 42000.0;
    QTest::newRow("fr: no-break space")
        << kHelpFiles[1]
        << u"Une espace insécable, comme en contiennent les nombres copiés d'un "
           "tableur en français, termine le nombre\u00a0: 42\u00a0000 collé de "
           "cette façon serait lu 42."_s
        << u"42\u00a0000"_s << 42.0;
}

void TestHelp::numberEntryAdviceHolds() {
    QFETCH(QString, name);
    QFETCH(QString, says);
    QFETCH(QString, typed);
    QFETCH(double, readAs);
    const QString text = textOfElement(kHelpDir + name, u"topic-10"_s);
    QVERIFY2(text.contains(says), qPrintable(says));
    QCOMPARE(valuetext::leadingNumber(typed), readAs);
}

// Each concepts page has its own picture of the quarters, its percentages written as
// the page's language writes them.
void TestHelp::quartileImageInPageLanguage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("otherPage");
    QTest::newRow("english") << kHelpFiles[0] << u"25%"_s << kHelpFiles[1];
    QTest::newRow("french") << kHelpFiles[1] << u"25\u00a0%"_s << kHelpFiles[0];
}

void TestHelp::quartileImageInPageLanguage() {
    QFETCH(QString, name);
    QFETCH(QString, percent);
    QFETCH(QString, otherPage);
    const QStringList images = imagesOf(kHelpDir + name);
    QVERIFY(!images.isEmpty());
    for (const QString& image : images) {
        QVERIFY2(!imagesOf(kHelpDir + otherPage).contains(image),
                 qPrintable(image + u" serves both pages"_s));
        const QStringList texts = percentTextsOf(kHelpDir + image);
        QCOMPARE(texts.size(), 4);
        for (const QString& text : texts)
            QCOMPARE(text, percent);
    }
}

void TestHelp::viewerScrollsToTopic_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("topic");
    QTest::addColumn<bool>("scrolled");
    QTest::newRow("concepts, ratios") << kHelpFiles[0] << 6 << true;
    QTest::newRow("concepts, firm values") << kHelpFiles[0] << 10 << true;
    QTest::newRow("concepts, terms of use") << kHelpFiles[0] << 9999 << true;
    QTest::newRow("concepts fr, terms of use") << kHelpFiles[1] << 9999 << true;
    QTest::newRow("concepts fr, quartiles") << kHelpFiles[1] << 7 << true;
    QTest::newRow("technical, troubleshooting") << kHelpFiles[2] << 9 << true;
    QTest::newRow("technical fr, command line") << kHelpFiles[3] << 6 << true;
    QTest::newRow("no such topic") << kHelpFiles[0] << 4242 << false;
    QTest::newRow("technical has no terms topic") << kHelpFiles[2] << 9999 << false;
}

void TestHelp::viewerScrollsToTopic() {
    QFETCH(QString, name);
    QFETCH(int, topic);
    QFETCH(bool, scrolled);

    help::HelpWindow window;
    QVERIFY(window.open({kHelpDir + name, topic, QString::number(topic), {}}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTextBrowser* browser = window.browser();
    QCOMPARE(window.windowTitle(), help::loadHelpFile(kHelpDir + name).title);
    QCOMPARE(window.language(), name.contains(u"_Fre"_s) ? Language::F : Language::E);

    const int position = help::HelpWindow::anchorPosition(browser->document(), help::anchorForTopic(topic));
    QCOMPARE(position >= 0, scrolled);
    if (scrolled) {
        QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);
        QTextCursor cursor(browser->document());
        cursor.setPosition(position);
        const QRect where = browser->cursorRect(cursor);
        QVERIFY2(where.top() >= 0 && where.bottom() <= browser->viewport()->height(),
                 qPrintable(u"anchor at y=%1"_s.arg(where.top())));
        window.goHome();
    }
    QTRY_COMPARE(browser->verticalScrollBar()->value(), 0);
}

// The reason, in the language the viewer was started in, whichever file it was given.
void TestHelp::unusableFileShowsItsReason_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<Language>("language");
    QTest::newRow("missing") << u"missing"_s << int(help::LoadStatus::NotFound) << Language::E;
    QTest::newRow("folder") << u"folder"_s << int(help::LoadStatus::NotAFile) << Language::F;
    QTest::newRow("empty") << u"empty"_s << int(help::LoadStatus::NotHelpText) << Language::E;
    QTest::newRow("binary") << u"binary"_s << int(help::LoadStatus::NotHelpText) << Language::F;
    QTest::newRow("not utf-8") << u"latin1"_s << int(help::LoadStatus::NotHelpText) << Language::E;
    QTest::newRow("unreadable") << u"unreadable"_s << int(help::LoadStatus::Unreadable) << Language::F;
    QTest::newRow("no file named") << u"none"_s << int(help::LoadStatus::NoFileGiven) << Language::E;
}

void TestHelp::unusableFileShowsItsReason() {
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(Language, language);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.path() + u"/aide manquante.html"_s;
    auto write = [&](const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    if (kind == u"folder") path = dir.path();
    if (kind == u"empty") write("  \n");
    if (kind == u"binary") write(QByteArray("SQLite format 3\0\0\x10\0", 20));
    if (kind == u"latin1") write("<html><body>R\xe9sum\xe9</body></html>");
    if (kind == u"none") path.clear();
    if (kind == u"unreadable") {
        write("<html><body>x</body></html>");
        QFile::setPermissions(path, QFileDevice::Permissions());
        if (QFile f(path); f.open(QIODevice::ReadOnly)) QSKIP("running with rights that read any file");
    }

    QCOMPARE(int(help::loadHelpFile(path).status), status);

    help::HelpWindow window(nullptr, language);
    QVERIFY(!window.open({path, 3, u"3"_s, {}}));
    QVERIFY(window.showingError());
    QCOMPARE(window.windowTitle(), help::errorTitle(language));
    const QString text = window.browser()->toPlainText();
    const bool french = language == Language::F;
    QCOMPARE(text.contains(u"The help cannot be shown"_s), !french);
    QCOMPARE(text.contains(u"L'aide ne peut pas être affichée"_s), french);
    QVERIFY(!window.browser()->accessibleName().isEmpty());
    if (!path.isEmpty())
        QVERIFY(text.contains(QFileInfo(path).absoluteFilePath()));
    else
        QVERIFY(text.contains(u"ventrolux-help FILE [TOPIC]"_s));
    QVERIFY(!window.findChild<QAction*>(u"print"_s)->isEnabled());
}

void TestHelp::svgImageRenders_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const QList<std::pair<QString, QSize>> required{
        {u"banner.svg"_s, {420, 110}}, {u"emblem.svg"_s, {120, 120}},    {u"back.svg"_s, {32, 32}},
        {u"folder.svg"_s, {16, 16}},   {u"folder-open.svg"_s, {16, 16}}, {u"industry.svg"_s, {16, 16}},
        {u"new.svg"_s, {24, 24}},      {u"open.svg"_s, {24, 24}},        {u"save.svg"_s, {24, 24}},
        {u"delete.svg"_s, {24, 24}},   {u"compare.svg"_s, {24, 24}},     {u"clear.svg"_s, {24, 24}},
        {u"help.svg"_s, {24, 24}}};
    QSet<QString> listed;
    for (const auto& [name, size] : required) {
        QTest::newRow(qPrintable(name)) << kImageDir + name << size;
        listed.insert(kImageDir + name);
    }
    // Any other image, here or in the help, must render too; its size is its own.
    for (const QString& dir : {kImageDir, kHelpDir})
        for (const QString& name : QDir(dir).entryList({u"*.svg"_s}, QDir::Files))
            if (!listed.contains(dir + name)) QTest::newRow(qPrintable(name)) << dir + name << QSize();
}

void TestHelp::svgImageRenders() {
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QString source = QString::fromUtf8(readAll(path));
    QVERIFY2(!source.isEmpty(), qPrintable(path));
    // Only what the Tiny 1.2 renderer draws faithfully: no filters, style sheets or outside files.
    for (const QString& banned : {u"<filter"_s, u"<style"_s, u"style="_s, u"<image"_s, u"href=\"http"_s,
                                  u"<foreignObject"_s, u"@import"_s})
        QVERIFY2(!source.contains(banned), qPrintable(banned));

    svgWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    QSvgRenderer renderer(path);
    const bool valid = renderer.isValid();
    QImage image(renderer.defaultSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    qInstallMessageHandler(previous);

    QVERIFY(valid);
    QVERIFY2(svgWarnings.isEmpty(), qPrintable(svgWarnings.join(u"; "_s)));
    if (size.isValid()) QCOMPARE(renderer.defaultSize(), size);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    QVERIFY2(painted > image.width() * image.height() / 10, "the image draws almost nothing");
}

void TestHelp::bannerShowsOnlyTheProductName() {
    QXmlStreamReader xml(readAll(kImageDir + u"banner.svg"_s));
    QStringList words;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            words << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    QVERIFY(!xml.hasError());
    QCOMPARE(words, QStringList{u"Ventrolux"_s});
}

// Before a page is open the labels are in the language the viewer was started in.
void TestHelp::printLabelFollowsPageLanguage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");
    QTest::newRow("no page yet") << QString() << u"Print…"_s;
    QTest::newRow("english page") << kHelpFiles[2] << u"Print…"_s;
    QTest::newRow("french page") << kHelpFiles[3] << u"Imprimer…"_s;
}

void TestHelp::printLabelFollowsPageLanguage() {
    QFETCH(QString, name);
    QFETCH(QString, label);
    help::HelpWindow window;
    if (!name.isEmpty()) QVERIFY(window.open({kHelpDir + name, std::nullopt, QString(), {}}));
    QAction* print = window.findChild<QAction*>(u"print"_s);
    QVERIFY(print);
    QCOMPARE(print->text(), label);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
