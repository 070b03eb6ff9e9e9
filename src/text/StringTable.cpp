#include "text/StringTable.h"

#include <QFile>
#include <QHash>
#include <QtGlobal>

namespace strings {

namespace {

QByteArray resource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QList<QByteArray> lines(const QByteArray& data) {
    QList<QByteArray> out = data.split('\n');
    for (QByteArray& line : out)
        if (line.endsWith('\r')) line.chop(1);
    return out;
}

// The tables ship inside the program as resources; each is parsed once, on first use.
QHash<int, QString> loadNumbered() {
    QHash<int, QString> table;
    for (const QByteArray& line : lines(resource(QStringLiteral(":/ventrolux/strings.tsv")))) {
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const int number = line.left(tab).toInt(&ok);
        if (ok) table.insert(number, QString::fromUtf8(line.mid(tab + 1)));
    }
    return table;
}

QString unescaped(const QByteArray& field) {
    QString text = QString::fromUtf8(field);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
    }
    return out;
}

struct Bilingual {
    QString english;
    QString french;
};

QHash<QByteArray, Bilingual> loadKeyed() {
    QHash<QByteArray, Bilingual> table;
    for (const QByteArray& line : lines(resource(QStringLiteral(":/ventrolux/texts.tsv")))) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3) continue;
        table.insert(fields[0], {unescaped(fields[1]), unescaped(fields[2])});
    }
    return table;
}

const QHash<int, QString>& numbered() {
    static const QHash<int, QString> t = loadNumbered();
    return t;
}

const QHash<QByteArray, Bilingual>& keyed() {
    static const QHash<QByteArray, Bilingual> t = loadKeyed();
    return t;
}

QString missing(const QString& entry) {
    if (qEnvironmentVariableIsSet("VENTROLUX_STRICT_TEXTS"))
        qFatal("No text in the program's tables for %s", qPrintable(entry));
    return u'[' + entry + u']';
}

} // namespace

QString entry(int number) {
    return numbered().value(number);
}

bool contains(int number) {
    return numbered().contains(number);
}

bool containsKey(std::string_view key) {
    return keyed().contains(QByteArray(key.data(), static_cast<qsizetype>(key.size())));
}

QString text(int number, Language language) {
    const int n = number + language::flag(language);
    const auto it = numbered().constFind(n);
    return it != numbered().cend() ? *it : missing(QString::number(n));
}

QString text(std::string_view key, Language language) {
    const QByteArray k(key.data(), static_cast<qsizetype>(key.size()));
    const auto it = keyed().constFind(k);
    if (it == keyed().cend()) return missing(QString::fromUtf8(k));
    return language == Language::F ? it->french : it->english;
}

} // namespace strings
