// The help viewer and what it shows: its command line, the four help pages (structure,
// topics, links, the ratio names, the terms of use), scrolling to a topic, the message
// for a file it cannot show, and the program's SVG images.

#include "help/HelpContent.h"
#include "help/HelpWindow.h"
#include "report/RatioTable.h"
#include "text/StringTable.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <QtTest>

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
    return text.simplified();
}

QStringList svgWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) svgWarnings << message;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
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

    void viewerScrollsToTopic_data();
    void viewerScrollsToTopic();
    void unusableFileShowsBilingualMessage_data();
    void unusableFileShowsBilingualMessage();

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
            const QString ratio = strings::text(r.nameEntry, language);
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
    QCOMPARE(window.language(), name.contains(u"_Fre"_s) ? u"fr"_s : u"en"_s);

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

void TestHelp::unusableFileShowsBilingualMessage_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::newRow("missing") << u"missing"_s << int(help::LoadStatus::NotFound);
    QTest::newRow("folder") << u"folder"_s << int(help::LoadStatus::NotAFile);
    QTest::newRow("empty") << u"empty"_s << int(help::LoadStatus::NotHelpText);
    QTest::newRow("binary") << u"binary"_s << int(help::LoadStatus::NotHelpText);
    QTest::newRow("not utf-8") << u"latin1"_s << int(help::LoadStatus::NotHelpText);
    QTest::newRow("unreadable") << u"unreadable"_s << int(help::LoadStatus::Unreadable);
    QTest::newRow("no file named") << u"none"_s << int(help::LoadStatus::NoFileGiven);
}

void TestHelp::unusableFileShowsBilingualMessage() {
    QFETCH(QString, kind);
    QFETCH(int, status);

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

    help::HelpWindow window;
    QVERIFY(!window.open({path, 3, u"3"_s, {}}));
    QVERIFY(window.showingError());
    QCOMPARE(window.windowTitle(), help::errorTitle());
    const QString text = window.browser()->toPlainText();
    QVERIFY(text.contains(u"The help cannot be shown"_s));
    QVERIFY(text.contains(u"L'aide ne peut pas être affichée"_s));
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

QTEST_MAIN(TestHelp)
#include "test_help.moc"
