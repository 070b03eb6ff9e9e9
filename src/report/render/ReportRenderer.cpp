#include "report/render/ReportRenderer.h"

#include "data/FileWriter.h"
#include "data/ProgramFiles.h"
#include "platform/Platform.h"
#include "report/FirmTrend.h"
#include "report/Reading.h"
#include "report/render/Charts.h"
#include "report/render/DocumentBuilder.h"
#include "report/render/Expressions.h"
#include "report/render/PagePrinter.h"
#include "report/render/ReadableReport.h"
#include "report/render/ReportData.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>

namespace reportrender {

namespace {

QJsonObject readLayout(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw FatalError(errnum::FileNotFound,
                         QStringLiteral("The report layout '%1' was not found.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw FatalError(
            errnum::FileNotFound,
            QStringLiteral("The report layout '%1' cannot be read: %2").arg(path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        throw FatalError(errnum::TypeMismatch,
                         QStringLiteral("The report layout '%1' is not valid JSON (at character %2: %3).")
                             .arg(path)
                             .arg(error.offset)
                             .arg(error.errorString()));
    if (!json.isObject())
        throw FatalError(errnum::TypeMismatch,
                         QStringLiteral("The report layout '%1' is not a JSON object.").arg(path));
    return json.object();
}

QList<ReportData::Source> sourcesOf(const QJsonObject& layout, const QString& fileName) {
    QList<ReportData::Source> sources;
    const QJsonArray list = layout.value(QLatin1String("sources")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("%1, sources[%2]").arg(fileName).arg(i);
        const QJsonObject o = list[i].toObject();
        ReportData::Source source;
        source.required = o.value(QLatin1String("required")).toBool(true);
        source.alias = o.value(QLatin1String("as")).toString();
        if (o.contains(QLatin1String("tableBy"))) {
            // {"as": "Industry", "tableBy": "Rpt_Comparison.MyYear", "tables": {"2011": "Rpt_Data_CY", …}}
            source.chooser = o.value(QLatin1String("tableBy")).toString();
            const QJsonObject tables = o.value(QLatin1String("tables")).toObject();
            for (auto it = tables.begin(); it != tables.end(); ++it)
                source.byValue.insert(it.key(), it.value().toString());
            if (source.alias.isEmpty() || source.chooser.isEmpty() || source.byValue.isEmpty())
                layoutError(where,
                            QStringLiteral("a table chosen by a value needs 'as', 'tableBy' and 'tables'"));
        } else {
            source.table = o.value(QLatin1String("table")).toString();
            if (source.table.isEmpty()) layoutError(where, QStringLiteral("a source needs a 'table'"));
        }
        sources << source;
    }
    return sources;
}

} // namespace

QString layoutFileName(Kind kind) {
    switch (kind) {
    case Kind::Comparison:
        return QStringLiteral("rpt_Comparison.json");
    case Kind::Ratios:
        return QStringLiteral("rpt_Ratios.json");
    case Kind::BalanceSheet:
        return QStringLiteral("rpt_BalanceSheet.json");
    case Kind::Trend:
        return QStringLiteral("rpt_Trend.json");
    }
    return QString();
}

QString defaultLayoutPath(Kind kind) {
    return programfiles::layoutPath(layoutFileName(kind));
}

std::unique_ptr<QTextDocument> buildDocument(Kind kind, Connection& userDb, const QString& layoutPath) {
    const QJsonObject layout = readLayout(layoutPath);
    const QString fileName = QFileInfo(layoutPath).fileName();
    // A layout made for another report would read tables this one has not prepared.
    const QString declared = layout.value(QLatin1String("report")).toString();
    const QString expected = layoutFileName(kind).section(u'.', 0, 0).mid(4); // "Comparison", …
    if (declared.compare(expected, Qt::CaseInsensitive) != 0)
        layoutError(fileName,
                    QStringLiteral("the layout is for the report '%1', not '%2'").arg(declared, expected));
    const QString titles = layout.value(QLatin1String("titles")).toString();
    if (titles.isEmpty())
        layoutError(fileName, QStringLiteral("'titles' must name the report's title table"));
    ReportData data = ReportData::read(userDb, titles, sourcesOf(layout, fileName));
    // The report is prepared just before it is built: today is the day it was prepared.
    data.setPreparedOn(QDate::currentDate());
    if (kind == Kind::Comparison) addReading(data);
    return buildFromLayout(layout, data, fileName);
}

std::unique_ptr<QTextDocument> buildDocument(const ReportData& data, const QString& layoutPath) {
    const QJsonObject layout = readLayout(layoutPath);
    return buildFromLayout(layout, data, QFileInfo(layoutPath).fileName());
}

std::unique_ptr<QTextDocument> buildTrendDocument(const firmtrend::Trend& trend, Language language,
                                                  const QString& layoutPath) {
    ReportData data;
    data.setTable(QStringLiteral("Rpt_Trend_Titles"), firmtrend::titlesRow(trend, language));
    data.setTitleTable(QStringLiteral("Rpt_Trend_Titles"));
    data.setTable(QStringLiteral("Rpt_Trend"), firmtrend::figuresRow(trend, language));
    data.setPreparedOn(QDate::currentDate());
    return buildDocument(data, layoutPath);
}

void addReading(ReportData& data) {
    const auto comparison = [&data](const QString& c) {
        return data.value(QStringLiteral("Rpt_Comparison"), c);
    };
    const auto industry = [&data](const QString& c) { return data.value(QStringLiteral("Industry"), c); };
    const Language language = data.language();
    data.setTable(QStringLiteral("Reading"),
                  reading::tableRow(reading::compose(comparison, industry, language), language));
}

namespace {

// The language of the report, which is the user's: the one its messages are in.
Language languageOf(const QTextDocument& doc) {
    return languageFromCode(doc.property(docprop::Language).toString());
}

// The PDF's XMP metadata: its title, language, producer and format.
QByteArray xmpMetadata(const QString& title, ::Language language) {
    const QString lang = language::locale(language).bcp47Name();
    return QStringLiteral(
               "<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
               "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
               "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
               "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
               "xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
               "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
               "<dc:language><rdf:Bag><rdf:li>%2</rdf:li></rdf:Bag></dc:language>\n"
               "<dc:format>application/pdf</dc:format>\n"
               "<pdf:Producer>Ventrolux</pdf:Producer>\n"
               "<xmp:CreatorTool>Ventrolux</xmp:CreatorTool>\n"
               "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>")
        .arg(title.toHtmlEscaped(), lang)
        .toUtf8();
}

} // namespace

void writePdf(QTextDocument& doc, const QString& path, const QPageSize& page) {
    FileWriter file(path, languageOf(doc));
    {
        QPdfWriter writer(&file.device());
        writer.setPageSize(page);
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(kMinimumMargins, QPageLayout::Millimeter);
        writer.setResolution(1200);
        const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ventrolux"));
        // The title and the language in the document's metadata too, where readers look
        // for them; Qt writes no language of its own and no tags (see README).
        writer.setDocumentXmpMetadata(xmpMetadata(title, languageOf(doc)));
        print(doc, writer);
    }
    file.commit();
}

void writeHtml(QTextDocument& doc, const QString& path) {
    FileWriter file(path, languageOf(doc));
    file.write(toHtml(doc).toUtf8());
    file.commit();
}

int print(QTextDocument& doc, QPagedPaintDevice& printer) {
    return paintPages(doc, printer);
}

QString toHtml(QTextDocument& doc) {
    // The HTML writer knows images, not charts: each chart character is given, for the
    // writing, the format of an image whose source is the chart drawn as SVG, and its own
    // format back afterwards. The layout is off meanwhile, so that these changes do not
    // lay the document out again (a document that has no layout yet gets none).
    struct Found {
        int position;
        QTextCharFormat format;
        Chart chart;
    };
    QList<Found> charts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            if (const std::optional<Chart> chart = chartFromFormat(fragment.charFormat()))
                for (int i = 0; i < fragment.length(); ++i)
                    charts << Found{fragment.position() + i, fragment.charFormat(), *chart};
        }
    const auto reformat = [&doc](int position, const QTextCharFormat& format) {
        QTextCursor c(&doc);
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        c.setCharFormat(format);
    };
    // What each chart shows, for a reader who does not see it.
    QStringList altTexts;
    for (const Found& found : charts)
        altTexts << chartAltText(doc, found.position, found.chart);
    const bool layoutWasEnabled = doc.isLayoutEnabled();
    doc.setLayoutEnabled(false);
    for (const Found& found : charts) {
        const QSizeF size = chartSize(found.chart, nullptr);
        QTextImageFormat image;
        image.setName(QStringLiteral("data:image/svg+xml;base64,") +
                      QString::fromLatin1(chartSvg(found.chart, size).toBase64()));
        image.setWidth(qRound(size.width()));
        image.setHeight(qRound(size.height()));
        image.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        reformat(found.position, image);
    }
    // QTextDocument writes its title into the page as it is; a firm called "</title><script>…"
    // would become markup. The title is written here, escaped, instead.
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    doc.setMetaInformation(QTextDocument::DocumentTitle, QString());
    QString html = doc.toHtml();
    doc.setMetaInformation(QTextDocument::DocumentTitle, title);
    for (const Found& found : charts)
        reformat(found.position, found.format);
    doc.setLayoutEnabled(layoutWasEnabled);
    // Headings are h1 to h3 as the document marks them; tables get captions and header
    // cells, and charts their alt texts.
    html = withReaderStructure(doc, html, altTexts);

    // After the character set, which a browser looks for in the first bytes of the page.
    static const QLatin1String charset("<meta charset=\"utf-8\" />");
    qsizetype head = html.indexOf(charset);
    head = head >= 0 ? head + charset.size() : html.indexOf(QLatin1String("<head>")) + 6;
    if (!title.isEmpty() && head >= 6)
        html.insert(head, QStringLiteral("<title>%1</title>").arg(title.toHtmlEscaped()));

    // A figure never breaks across lines in a browser either. QTextDocument writes such a
    // paragraph as <pre>, which a browser sets in a typewriter face: it becomes a paragraph
    // that does not wrap. (Texts from the data cannot hold "<pre": they are escaped.)
    static const QRegularExpression preWithStyle(QStringLiteral("<pre ([^>]*)style=\""));
    html.replace(preWithStyle, QStringLiteral("<p \\1style=\"white-space:nowrap;"));
    html.replace(QLatin1String("<pre>"), QLatin1String("<p style=\"white-space:nowrap;\">"));
    html.replace(QLatin1String("</pre>"), QLatin1String("</p>"));

    // A web page has no pages: the footer note closes the document instead.
    const QString note = doc.property(docprop::FooterNote).toString();
    if (!note.isEmpty()) {
        const QColor muted = doc.property(docprop::MutedColor).value<QColor>();
        const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
        if (end >= 0)
            html.insert(end, QStringLiteral("<p style=\"margin-top: 12px; font-size: 7.5pt; font-style: "
                                            "italic; color: %1;\">%2</p>\n")
                                 .arg(muted.isValid() ? muted.name() : QStringLiteral("#555555"),
                                      note.toHtmlEscaped()));
    }
    // The language, so that a browser hyphenates and reads the page correctly.
    const QString lang = language::locale(languageOf(doc)).bcp47Name();
    const qsizetype open = html.indexOf(QLatin1String("<html>"));
    if (open >= 0) html.replace(open, 6, QStringLiteral("<html lang=\"%1\">").arg(lang));
    return html;
}

} // namespace reportrender
