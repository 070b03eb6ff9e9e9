#include "text/StringTable.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace strings {

namespace {

// The table ships inside the program as a resource; it is parsed once, on first use.
QHash<int, QString> load() {
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/ventrolux/strings.tsv"));
    if (!file.open(QIODevice::ReadOnly)) return table;
    const QByteArray data = file.readAll();
    for (const QByteArray& rawLine : data.split('\n')) {
        QByteArray line = rawLine;
        if (line.endsWith('\r')) line.chop(1);
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const int number = line.left(tab).toInt(&ok);
        if (ok) table.insert(number, QString::fromUtf8(line.mid(tab + 1)));
    }
    return table;
}

const QHash<int, QString>& table() {
    static const QHash<int, QString> t = load();
    return t;
}

} // namespace

QString entry(int number) {
    return table().value(number);
}

QString text(int number, int language) {
    return entry(number + (language != 0 ? 1 : 0));
}

QString inLanguage(int language, const char* english, const char* french) {
    return QString::fromUtf8(language != 0 ? french : english);
}

bool contains(int number) {
    return table().contains(number);
}

} // namespace strings
