#include "firm/LineItemDefinitions.h"

#include "firm/LineItems.h"
#include "platform/Platform.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lineitemdefinitions {

namespace {

struct Bilingual {
    Definition english;
    Definition french;
};

struct Table {
    QList<QString> labels;
    QHash<QString, Bilingual> byLabel;
};

PieceKind kindOf(const QString& name) {
    if (name == QLatin1String("paragraph")) return PieceKind::Paragraph;
    if (name == QLatin1String("heading")) return PieceKind::Heading;
    if (name == QLatin1String("item")) return PieceKind::Item;
    if (name == QLatin1String("subitem")) return PieceKind::SubItem;
    throw FatalError(errnum::InternalError,
                     QStringLiteral("Line item definitions: unknown piece kind %1").arg(name));
}

bool isCaptionLabel(const QString& label) {
    for (const lineitems::LineItem& item : lineitems::all())
        if (label == QLatin1String(item.captionLabel)) return true;
    return false;
}

// The file ships inside the program; a malformed one is a build fault, caught by the tests.
Table load() {
    QFile file(QStringLiteral(":/ventrolux/definitions.json"));
    if (!file.open(QIODevice::ReadOnly))
        throw FatalError(errnum::InternalError,
                         QStringLiteral("Line item definitions: the resource is missing"));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        throw FatalError(errnum::InternalError,
                         QStringLiteral("Line item definitions: %1").arg(error.errorString()));

    Table table;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        const QString label = o.value(QLatin1String("label")).toString();
        if (!isCaptionLabel(label) || table.byLabel.contains(label))
            throw FatalError(
                errnum::InternalError,
                QStringLiteral("Line item definitions: unknown or repeated label %1").arg(label));
        Bilingual b;
        const QJsonObject title = o.value(QLatin1String("title")).toObject();
        b.english.title = title.value(QLatin1String("en")).toString();
        b.french.title = title.value(QLatin1String("fr")).toString();
        b.english.endsWithBreak = b.french.endsWithBreak =
            o.value(QLatin1String("endsWithBreak")).toBool(false);
        for (const QJsonValue& p : o.value(QLatin1String("pieces")).toArray()) {
            const QJsonObject piece = p.toObject();
            const PieceKind kind = kindOf(piece.value(QLatin1String("kind")).toString());
            b.english.pieces.append({kind, piece.value(QLatin1String("en")).toString()});
            b.french.pieces.append({kind, piece.value(QLatin1String("fr")).toString()});
        }
        table.labels.append(label);
        table.byLabel.insert(label, b);
    }
    return table;
}

const Table& table() {
    static const Table t = load();
    return t;
}

} // namespace

std::optional<Definition> lookup(const QString& captionLabel, Language language) {
    const auto it = table().byLabel.constFind(captionLabel);
    if (it == table().byLabel.constEnd()) return std::nullopt;
    return language == Language::F ? it->french : it->english;
}

QString body(const Definition& definition) {
    QString text;
    for (qsizetype i = 0; i < definition.pieces.size(); ++i) {
        if (i > 0) text += QLatin1String(kPieceBreak);
        if (definition.pieces[i].kind == PieceKind::SubItem) text += QLatin1String(kSubItemIndent);
        text += definition.pieces[i].text;
    }
    if (definition.endsWithBreak) text += QLatin1String(kPieceBreak);
    return text;
}

QList<QString> labels() {
    return table().labels;
}

} // namespace lineitemdefinitions
