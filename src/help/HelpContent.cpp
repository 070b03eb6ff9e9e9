#include "help/HelpContent.h"

#include "text/StringTable.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace help {

namespace {

// Help pages are a few hundred kilobytes; anything far larger was named by mistake
// (a database, an archive) and is refused before it is read into memory.
constexpr qint64 kMaxHelpFileSize = 16 * 1024 * 1024;

// Why a file cannot be shown.
QString reasonFor(const HelpFile& file, Language language) {
    switch (file.status) {
    case LoadStatus::NoFileGiven:
        return strings::text("helpviewer.error.noFile", language);
    case LoadStatus::NotFound:
        return strings::text("helpviewer.error.notFound", language);
    case LoadStatus::NotAFile:
        return strings::text("helpviewer.error.notAFile", language);
    case LoadStatus::Unreadable:
        return strings::text("helpviewer.error.unreadable", language).arg(file.detail);
    case LoadStatus::NotHelpText:
        return strings::text("helpviewer.error.notHelpText", language);
    case LoadStatus::Ok:
        break;
    }
    return {};
}

HelpFile failed(HelpFile file, LoadStatus status, const QString& detail = {}) {
    file.status = status;
    file.detail = detail;
    file.html.clear();
    return file;
}

} // namespace

bool pathExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

std::optional<int> parseTopic(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n <= 0) return std::nullopt;
    return n;
}

HelpRequest parseArguments(const QStringList& args, const FileExists& exists) {
    HelpRequest request;
    if (args.isEmpty()) return request;

    qsizetype fileParts = 1;
    if (args.size() > 1 && !exists(args.first())) {
        for (qsizetype n = args.size(); n > 1; --n) {
            if (exists(args.mid(0, n).join(u' '))) {
                fileParts = n;
                break;
            }
        }
    }
    request.file = args.mid(0, fileParts).join(u' ');
    if (fileParts < args.size()) {
        request.topicArgument = args.at(fileParts);
        request.topic = parseTopic(request.topicArgument);
    }
    request.ignored = args.mid(fileParts + 1);
    return request;
}

QString anchorForTopic(int topic) {
    return u"topic-"_s + QString::number(topic);
}

QString documentLanguage(const QString& html) {
    static const QRegularExpression htmlTag(u"<html\\b[^>]*>"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression langAttribute(u"\\blang\\s*=\\s*[\"']?([A-Za-z]{2,3})"_s,
                                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch tag = htmlTag.match(html);
    if (!tag.hasMatch()) return {};
    const QRegularExpressionMatch lang = langAttribute.match(tag.captured(0));
    return lang.hasMatch() ? lang.captured(1).toLower() : QString();
}

HelpFile loadHelpFile(const QString& path) {
    HelpFile file;
    if (path.trimmed().isEmpty()) return failed(file, LoadStatus::NoFileGiven);

    const QFileInfo info(path);
    file.path = info.absoluteFilePath();
    file.title = info.fileName();
    if (!info.exists()) return failed(file, LoadStatus::NotFound);
    if (!info.isFile()) return failed(file, LoadStatus::NotAFile);
    if (info.size() > kMaxHelpFileSize) return failed(file, LoadStatus::NotHelpText);

    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return failed(file, LoadStatus::Unreadable, in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) return failed(file, LoadStatus::Unreadable, in.errorString());
    if (bytes.trimmed().isEmpty() || bytes.contains('\0')) return failed(file, LoadStatus::NotHelpText);

    // The same choice of encoding the browser makes: a byte-order mark or a <meta
    // charset>, UTF-8 otherwise.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    QString html = decoder.decode(bytes);
    if (decoder.hasError()) return failed(file, LoadStatus::NotHelpText);

    QTextDocument document;
    document.setHtml(html);
    const QString title = document.metaInformation(QTextDocument::DocumentTitle).simplified();
    if (!title.isEmpty()) file.title = title;
    file.language = documentLanguage(html);
    file.html = std::move(html);
    file.status = LoadStatus::Ok;
    return file;
}

Language languageOfHelpFile(const QString& path, Language otherwise) {
    const QString name = QFileInfo(path).completeBaseName();
    if (name.endsWith(u"_Fre"_s, Qt::CaseInsensitive)) return Language::F;
    if (name.endsWith(u"_Eng"_s, Qt::CaseInsensitive)) return Language::E;
    return otherwise;
}

QString errorTitle(Language language) {
    return strings::text("helpviewer.error.title", language);
}

QString errorPage(const HelpFile& file, Language language) {
    const QString shownPath = file.path.isEmpty() ? u"\u2013"_s : file.path.toHtmlEscaped();
    const QString lang = language::locale(language).bcp47Name();
    QString page = u"<html lang=\""_s + lang + u"\"><head><meta charset=\"utf-8\"/><title>"_s +
                   errorTitle(language).toHtmlEscaped() +
                   u"</title></head><body style=\"font-family: sans-serif;\">"_s;
    page += u"<h2 style=\"color: #8a1c1c;\">"_s +
            strings::text("helpviewer.error.heading", language).toHtmlEscaped() + u"</h2>"_s;
    page += u"<p>"_s + reasonFor(file, language).toHtmlEscaped() + u"</p>"_s;
    if (file.status != LoadStatus::NoFileGiven)
        page += u"<p>"_s +
                strings::text("helpviewer.error.file", language)
                    .toHtmlEscaped()
                    .arg(u"<code>"_s + shownPath + u"</code>"_s) +
                u"</p>"_s;
    // The command is markup: the text around it is escaped, the command is not.
    page += u"<p>"_s +
            strings::text("helpviewer.error.remedy", language).toHtmlEscaped().arg(u"<code>make</code>"_s) +
            u"</p>"_s;
    page += u"</body></html>"_s;
    return page;
}

QString usageText(Language language) {
    return strings::text("helpviewer.usage", language) + u'\n';
}

} // namespace help
