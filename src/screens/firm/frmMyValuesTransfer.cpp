// The firm values screen's File > Import and File > Export: the file chooser and the
// messages; the reading and writing are the firm core's (firm/FirmTransfer.h).

#include "firm/FirmFileMessages.h"
#include "firm/FirmTransfer.h"
#include "screens/firm/frmMyValues.h"
#include "state/modMain.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

using namespace modMain;

namespace {

constexpr int kImportTitleEntry = 812;
constexpr int kExportTitleEntry = 814;
constexpr int kFirmFilesEntry = 816;

} // namespace

QString frmMyValues::suggestedExportPath() const {
    QString name;
    for (const QChar c : txtFirmName->text().trimmed())
        name += c.isLetterOrNumber() || c == u' ' || c == u'-' ? c : QChar(u'_');
    if (name.isEmpty()) name = QStringLiteral("firm");
    const QString folder = transferFolder_.isEmpty() ? QDir::homePath() : transferFolder_;
    return QDir(folder).filePath(name.left(100) + u' ' + cboYear->currentText() + QStringLiteral(".json"));
}

void frmMyValues::subImport_Firm() {
    // The boxes are about to be replaced: a changed firm is offered to be saved first.
    if (!fncMayDropFirm(firmmessages::SaveAsker::New)) return;
    const std::optional<QString> path =
        ChooseFile(FileChoice::Open, Txt(kImportTitleEntry),
                   transferFolder_.isEmpty() ? QDir::homePath() : transferFolder_, Txt(kFirmFilesEntry));
    if (!path) return;
    transferFolder_ = QFileInfo(*path).absolutePath();

    const firmtransfer::Imported imported =
        firmtransfer::importFirm(*path, firmOnScreen(), modMain::language());
    if (!imported.firm) {
        MsgBox(firmfile::importRefused(imported.problem, modMain::language()), MsgButtons::OK,
               MsgIcon::Exclamation);
        return;
    }
    const FirmStatement& firm = *imported.firm;
    const int year = cboYear->findText(firm.year);
    if (year >= 0) cboYear->setCurrentIndex(year);
    txtFirmName->setText(firm.firmName);
    writeValues(firm.values);
    // What came from a file is not stored yet.
    blnDataChanged = true;
    if (!imported.note.isEmpty()) MsgBox(imported.note, MsgButtons::OK, MsgIcon::Information);
}

void frmMyValues::subExport_Firm() {
    // The box being left first gets its leave check, as the click that left it would give.
    if (!checkFocusedBox()) return;
    subCalculateSubTotals();
    const std::optional<QString> chosen =
        ChooseFile(FileChoice::Save, Txt(kExportTitleEntry), suggestedExportPath(), Txt(kFirmFilesEntry));
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
    transferFolder_ = QFileInfo(path).absolutePath();

    const QString problem = firmtransfer::exportFirm(path, firmOnScreen(), modMain::language());
    if (!problem.isEmpty()) {
        MsgBox(firmfile::exportRefused(problem, modMain::language()), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    MsgBox(firmfile::exported(QDir::toNativeSeparators(path), modMain::language()), MsgButtons::OK,
           MsgIcon::Information);
}
