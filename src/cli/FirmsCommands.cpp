#include "cli/FirmsCommands.h"

#include "cli/CliCommands.h"
#include "cli/CliTexts.h"
#include "cli/CommandErrors.h"
#include "cli/FirmFileProblems.h"
#include "data/FileWriter.h"
#include "firm/FirmFile.h"
#include "firm/FirmMessages.h"
#include "firm/FirmRecords.h"
#include "text/StringTable.h"

#include <QHash>

namespace cli {

namespace {

constexpr int kInvalidNameEntry = 554; // "Invalid enterprise name."

// The firm made ready to be stored as the screen stores it (values typed, subtotals
// computed, empty values 0), or what stops it: a value beyond the boxes' range, an
// unusable name, a year that is not one of the three the screen offers.
std::optional<QString> storeProblem(FirmStatement& firm, Language language) {
    if (!firmfile::asTyped(firm))
        return firmmessages::text(firmmessages::Message::PleaseEnterNumber, language);
    if (!firmrecords::isUsableName(firm.firmName, language))
        return strings::text(kInvalidNameEntry, language);
    if (std::optional<QString> problem = firmrecords::nameProblem(firm.firmName, language)) return problem;
    const std::optional<int16_t> year = firmfile::referenceYear(firm.year);
    if (!year) return text(Text::RowYear, language, {firm.year});
    firm.year = QString::number(*year);
    if (const std::optional<int> item = firmfile::unstorableValue(firm))
        return firmfile::unstorableText(firm, *item, language);
    return std::nullopt;
}

QString keyOf(const FirmStatement& firm) {
    return firm.firmName + QChar(0) + firm.year;
}

} // namespace

int firmsList(Connection& userDb, QTextStream& out) {
    for (const firmrecords::StoredKey& k : firmrecords::list(userDb))
        out << k.firmName << '\t' << k.year << '\t' << k.naics << '\n';
    return ExitOk;
}

int firmsShow(Connection& userDb, const QString& name, const QString& year, Language language,
              QTextStream& out) {
    const std::optional<FirmStatement> firm = firmrecords::load(userDb, name, year);
    if (!firm) throw Refused{text(Text::FirmNotStored, language, {name, year})};
    out << QString::fromUtf8(firmfile::toJson(*firm));
    return ExitOk;
}

int firmsSave(Connection& userDb, FirmStatement firm, bool replace, Language language, QTextStream& out) {
    if (const std::optional<QString> problem = storeProblem(firm, language)) throw Refused{*problem};
    const auto existing = replace ? firmrecords::Existing::Replace : firmrecords::Existing::Refuse;
    if (firmrecords::storeAll(userDb, {firm}, existing))
        throw Refused{text(Text::FirmStoredAlready, language, {firm.firmName, firm.year})};
    out << text(Text::FirmSaved, language, {firm.firmName, firm.year}) << '\n';
    return ExitOk;
}

int firmsDelete(Connection& userDb, const QString& name, const QString& year, Language language,
                QTextStream& out) {
    if (!firmrecords::remove(userDb, name, year))
        throw Refused{text(Text::FirmNotStored, language, {name, year})};
    out << text(Text::FirmDeleted, language, {name, year}) << '\n';
    return ExitOk;
}

int firmsExport(Connection& userDb, const QString& path, Language language, QTextStream& out) {
    const QList<FirmStatement> firms = firmrecords::loadAll(userDb);
    FileWriter file(path, language);
    file.write(firmfile::csvHeaderLine());
    for (const FirmStatement& firm : firms)
        file.write(firmfile::csvLine(firm));
    file.commit();
    out << text(Text::FirmsExported, language, {QString::number(firms.size()), path}) << '\n';
    return ExitOk;
}

int firmsImport(Connection& userDb, const firmfile::ListResult& list, const QString& path, bool replace,
                Language language, QTextStream& out) {

    const auto refuse = [&](int line, const QString& why) {
        return Refused{text(Text::ImportRefused, language, {path, QString::number(line), why})};
    };
    QList<FirmStatement> firms;
    QHash<QString, int> lineOfKey; // a firm named twice in one file is a mistake, not a replacement
    for (const firmfile::ReadResult& row : list.rows) {
        if (!row.ok()) throw refuse(row.line, rowProblem(row, language));
        FirmStatement firm = row.firm;
        if (const std::optional<QString> problem = storeProblem(firm, language))
            throw refuse(row.line, *problem);
        if (const auto earlier = lineOfKey.constFind(keyOf(firm)); earlier != lineOfKey.cend())
            throw refuse(row.line, text(Text::RowDuplicate, language,
                                        {firm.firmName, firm.year, QString::number(*earlier)}));
        lineOfKey.insert(keyOf(firm), row.line);
        firms << firm;
    }
    const auto existing = replace ? firmrecords::Existing::Replace : firmrecords::Existing::Refuse;
    if (const std::optional<qsizetype> stored = firmrecords::storeAll(userDb, firms, existing)) {
        const FirmStatement& firm = firms[*stored];
        throw refuse(list.rows[static_cast<std::size_t>(*stored)].line,
                     text(Text::FirmStoredAlready, language, {firm.firmName, firm.year}));
    }
    out << text(Text::FirmsImported, language, {QString::number(firms.size()), path}) << '\n';
    return ExitOk;
}

int firmsCopy(Connection& from, Connection& to, const QString& fromName, const QString& toName, bool replace,
              Language language, QTextStream& out) {
    const auto existing = replace ? firmrecords::Existing::Replace : firmrecords::Existing::Refuse;
    if (const std::optional<firmrecords::StoredKey> stored =
            firmrecords::copyAll(from, to, existing, language))
        throw Refused{text(Text::CopyStoredAlready, language, {stored->firmName, stored->year, toName})};
    out << text(Text::FirmsCopied, language, {QString::number(firmrecords::count(from)), fromName, toName})
        << '\n';
    return ExitOk;
}

} // namespace cli
