#include "report/render/ReportRenderer.h"

#include "platform/Platform.h"
#include "data/ProgramFiles.h"
#include "report/render/Charts.h"
#include "report/render/DocumentBuilder.h"
#include "report/render/Expressions.h"
#include "report/render/PagePrinter.h"
#include "report/render/ReportData.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>

namespace reportrender {

namespace {

QJsonObject readLayout(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw FatalError(errnum::FileNotFound, QStringLiteral("The report layout '%1' was not found.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw FatalError(errnum::FileNotFound, QStringLiteral("The report layout '%1' cannot be read: %2").arg(path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        throw FatalError(errnum::TypeMismatch, QStringLiteral("The report layout '%1' is not valid JSON (at character %2: %3).")
                                                   .arg(path)
                                                   .arg(error.offset)
                                                   .arg(error.errorString()));
    if (!json.isObject()) throw FatalError(errnum::TypeMismatch, QStringLiteral("The report layout '%1' is not a JSON object.").arg(path));
    return json.object();
}

QList<ReportData::Source> sourcesOf(const QJsonObject& layout, const QString& fileName) {
    QList<ReportData::Source> sources;
    const QJsonArray list = layout.value(QLatin1String("sources")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject o = list[i].toObject();
        const QString table = o.value(QLatin1String("table")).toString();
        if (table.isEmpty()) layoutError(QStringLiteral("%1, sources[%2]").arg(fileName).arg(i), QStringLiteral("a source needs a 'table'"));
        sources << ReportData::Source{table, o.value(QLatin1String("required")).toBool(true)};
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
    }
    return QString();
}

QString defaultLayoutPath(Kind kind) { return programfiles::layoutPath(layoutFileName(kind)); }

std::unique_ptr<QTextDocument> buildDocument(Kind kind, Connection& userDb, const QString& layoutPath) {
    const QJsonObject layout = readLayout(layoutPath);
    const QString fileName = QFileInfo(layoutPath).fileName();
    // A layout made for another report would read tables this one has not prepared.
    const QString declared = layout.value(QLatin1String("report")).toString();
    const QString expected = layoutFileName(kind).section(u'.', 0, 0).mid(4); // "Comparison", …
    if (declared.compare(expected, Qt::CaseInsensitive) != 0)
        layoutError(fileName, QStringLiteral("the layout is for the report '%1', not '%2'").arg(declared, expected));
    const QString titles = layout.value(QLatin1String("titles")).toString();
    if (titles.isEmpty()) layoutError(fileName, QStringLiteral("'titles' must name the report's title table"));
    const ReportData data = ReportData::read(userDb, titles, sourcesOf(layout, fileName));
    return buildFromLayout(layout, data, fileName);
}

void writePdf(QTextDocument& doc, const QString& path, const QPageSize& page) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FatalError(errnum::PathNotFound, QStringLiteral("Cannot write the file '%1': %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setPageSize(page);
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(kMinimumMargins, QPageLayout::Millimeter);
        writer.setResolution(1200);
        writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Ventrolux"));
        print(doc, writer);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw FatalError(errnum::PathNotFound, QStringLiteral("Cannot write the file '%1': %2").arg(path, file.errorString()));
}

int print(QTextDocument& doc, QPagedPaintDevice& printer) { return paintPages(doc, printer); }

QString toHtml(QTextDocument& doc) {
    // The HTML writer knows images, not charts: each chart character is replaced by an
    // image whose source is the chart drawn as SVG, and put back once the HTML is written.
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
                for (int i = 0; i < fragment.length(); ++i) charts << Found{fragment.position() + i, fragment.charFormat(), *chart};
        }
    const auto replaceAt = [&doc](int position, const QString& text, const QTextCharFormat& format) {
        QTextCursor c(&doc);
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        c.insertText(text, format);
    };
    for (const Found& found : charts) {
        const QSizeF size = chartSize(found.chart, nullptr);
        QTextImageFormat image;
        image.setName(QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(chartSvg(found.chart, size).toBase64()));
        image.setWidth(qRound(size.width()));
        image.setHeight(qRound(size.height()));
        image.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        replaceAt(found.position, QString(QChar::ObjectReplacementCharacter), image);
    }
    QString html = doc.toHtml();
    for (const Found& found : charts) replaceAt(found.position, QString(QChar::ObjectReplacementCharacter), found.format);

    // A web page has no pages: the footer note closes the document instead.
    const QString note = doc.property(docprop::FooterNote).toString();
    if (!note.isEmpty()) {
        const QColor muted = doc.property(docprop::MutedColor).value<QColor>();
        html.replace(QLatin1String("</body>"),
                     QStringLiteral("<p style=\"margin-top: 12px; font-size: 7.5pt; font-style: italic; color: %1;\">%2</p>\n</body>")
                         .arg(muted.isValid() ? muted.name() : QStringLiteral("#555555"), note.toHtmlEscaped()));
    }
    // The language, so that a browser hyphenates and reads the page correctly.
    const QString lang = doc.property(docprop::Language).toString() == QLatin1String("F") ? QStringLiteral("fr-CA") : QStringLiteral("en-CA");
    html.replace(QLatin1String("<html>"), QStringLiteral("<html lang=\"%1\">").arg(lang));
    return html;
}

} // namespace reportrender
