#include "help/HelpContent.h"

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

struct Reason {
    QString english;
    QString french;
};

Reason reasonFor(const HelpFile& file) {
    switch (file.status) {
    case LoadStatus::NoFileGiven:
        return {u"No help file was named. Usage: ventrolux-help FILE [TOPIC]"_s,
                u"Aucun fichier d'aide n'a été indiqué. Utilisation\u00a0: ventrolux-help FICHIER [SUJET]"_s};
    case LoadStatus::NotFound:
        return {u"The file does not exist."_s, u"Le fichier n'existe pas."_s};
    case LoadStatus::NotAFile:
        return {u"The path names a folder or a device, not a file."_s,
                u"Le chemin désigne un dossier ou un périphérique, et non un fichier."_s};
    case LoadStatus::Unreadable:
        return {u"The file could not be read (%1)."_s.arg(file.detail),
                u"Le fichier n'a pas pu être lu (%1)."_s.arg(file.detail)};
    case LoadStatus::NotHelpText:
        return {u"The file is empty, too large, or not an HTML text file."_s,
                u"Le fichier est vide, trop volumineux ou n'est pas un fichier texte HTML."_s};
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

QString errorTitle() {
    return u"Ventrolux \u2013 Help / Aide"_s;
}

QString errorPage(const HelpFile& file) {
    const Reason reason = reasonFor(file);
    const QString shownPath = file.path.isEmpty() ? u"\u2013"_s : file.path.toHtmlEscaped();
    const bool noFile = file.status == LoadStatus::NoFileGiven;

    QString page = u"<html><head><meta charset=\"utf-8\"/><title>"_s + errorTitle().toHtmlEscaped() +
                   u"</title></head><body style=\"font-family: sans-serif;\">"_s;
    page += u"<h2 style=\"color: #8a1c1c;\">The help cannot be shown</h2>"_s;
    page += u"<p>"_s + reason.english.toHtmlEscaped() + u"</p>"_s;
    if (!noFile) page += u"<p>File: <code>"_s + shownPath + u"</code></p>"_s;
    page += u"<p>The help files are copied into the program directory when Ventrolux is built. "
            "Running <code>make</code> in the source folder copies them again.</p>"_s;
    page += u"<hr/>"_s;
    page += u"<h2 style=\"color: #8a1c1c;\">L'aide ne peut pas être affichée</h2>"_s;
    page += u"<p>"_s + reason.french.toHtmlEscaped() + u"</p>"_s;
    if (!noFile) page += u"<p>Fichier\u00a0: <code>"_s + shownPath + u"</code></p>"_s;
    page += u"<p>Les fichiers d'aide sont copiés dans le dossier du programme lors de la construction "
            "de Ventrolux. La commande <code>make</code>, lancée dans le dossier des sources, "
            "les copie de nouveau.</p>"_s;
    page += u"</body></html>"_s;
    return page;
}

QString usageText() {
    return u"Usage: ventrolux-help FILE [TOPIC]\n"
           "Shows the HTML help file FILE, scrolled to topic number TOPIC when the file has it.\n"
           "\n"
           "Utilisation\u00a0: ventrolux-help FICHIER [SUJET]\n"
           "Affiche le fichier d'aide HTML FICHIER, au sujet numéro SUJET s'il s'y trouve.\n"_s;
}

} // namespace help
