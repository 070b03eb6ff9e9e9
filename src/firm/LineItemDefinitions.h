#pragma once
// The definitions of the 32 line items that the caption labels of the firm values
// screen show when clicked: a title and a body of pieces in each language, kept as
// data in the program's resources (definitions.json).

#include "text/Language.h"

#include <QList>
#include <QString>
#include <optional>

namespace lineitemdefinitions {

enum class PieceKind {
    Paragraph, // an opening or closing paragraph
    Heading,   // "Inclusions" / "Inclure"
    Item,      // a lettered item: "a)  Trade Payables"
    SubItem,   // a second-level item: "i)  trade accounts payable to affiliates"
};

struct Piece {
    PieceKind kind;
    QString text;
};

struct Definition {
    QString title;
    QList<Piece> pieces;
    bool endsWithBreak = false; // the body also ends with the break between pieces
};

// Between two pieces of a body: two line breaks, so that one empty line separates them.
inline constexpr char kPieceBreak[] = "\r\n\r\n";
// Before a second-level piece.
inline constexpr char kSubItemIndent[] = "     ";

// The definition of a caption label ("lblCash"), in the language; nothing for a label that has none.
std::optional<Definition> lookup(const QString& captionLabel, Language language);

// The body as the message box shows it: the pieces in order with a break between
// two, each second-level piece indented.
QString body(const Definition& definition);

// The caption labels that have a definition, in the order of the file.
QList<QString> labels();

} // namespace lineitemdefinitions
