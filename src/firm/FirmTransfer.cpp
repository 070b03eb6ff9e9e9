#include "firm/FirmTransfer.h"

#include "data/FileWriter.h"
#include "firm/FirmFile.h"
#include "firm/FirmFileMessages.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"

namespace firmtransfer {

namespace {

// The column of the first entered value that has no normal form, with its text.
std::optional<std::pair<QString, QString>> valueOutsideTheBoxes(const FirmStatement& firm) {
    const auto items = lineitems::all();
    for (int i = 0; i < lineitems::kCount; ++i) {
        if (items[i].kind != lineitems::Kind::Entered) continue;
        const QString& value = firm.values[static_cast<size_t>(i)];
        if (!valuetext::normalForm(value)) return std::pair{QString::fromLatin1(items[i].column), value};
    }
    return std::nullopt;
}

Imported refuse(QString problem) {
    Imported r;
    r.problem = std::move(problem);
    return r;
}

} // namespace

Imported importFirm(const QString& path, const FirmStatement& onScreen, Language language) {
    const firmfile::ReadResult file = firmfile::read(path);
    if (!file.ok()) return refuse(firmfile::fileProblem(file, path, language));

    FirmStatement firm = file.firm;
    if (const auto outside = valueOutsideTheBoxes(firm))
        return refuse(firmfile::valueOutOfRange(path, outside->first, outside->second, language));
    if (firm.year.trimmed().isEmpty()) {
        firm.year = onScreen.year;
    } else {
        const std::optional<int16_t> year = firmfile::referenceYear(firm.year);
        if (!year) return refuse(firmfile::yearNotReference(path, firm.year, language));
        firm.year = QString::number(*year);
    }
    if (firm.firmName.trimmed().isEmpty()) firm.firmName = onScreen.firmName;

    Imported r;
    const QString fileNaics = firm.naics.trimmed();
    if (!fileNaics.isEmpty() && fileNaics != onScreen.naics.trimmed())
        r.note = firmfile::otherIndustry(fileNaics, onScreen.naics.trimmed(), language);
    firm.naics = onScreen.naics;
    firmfile::asTyped(firm); // every value has a normal form: checked above
    r.firm = std::move(firm);
    return r;
}

QString exportFirm(const QString& path, const FirmStatement& onScreen, Language language) {
    FirmStatement firm = onScreen;
    if (const auto outside = valueOutsideTheBoxes(firm))
        return firmfile::valueOutOfRange(path, outside->first, outside->second, language);
    firmfile::asTyped(firm);
    const QByteArray bytes = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                                 ? firmfile::csvHeaderLine() + firmfile::csvLine(firm)
                                 : firmfile::toJson(firm);
    try {
        FileWriter out(path, language);
        out.write(bytes);
        out.commit();
    } catch (const WriteFailure& e) {
        return e.description();
    }
    return QString();
}

} // namespace firmtransfer
