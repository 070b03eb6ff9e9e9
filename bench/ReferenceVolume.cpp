#include "ReferenceVolume.h"

#include "data/Catalogue.h"
#include "data/DBTools.h"

#include <QFile>
#include <QStringList>

QString writeReferenceVolume(const QString& samplePath, const QString& targetPath, int industries,
                             int extraFolders) {
    QFile::remove(targetPath);
    if (!QFile::copy(samplePath, targetPath))
        return QStringLiteral("cannot copy %1 to %2").arg(samplePath, targetPath);
    QFile::setPermissions(targetPath, QFile::ReadOwner | QFile::WriteOwner);

    Connection cn;
    ConnectToFile(cn, targetPath, QStringLiteral("unknown"));
    const QString dataset = catalogue::table(catalogue::datasetTableName(3, QStringLiteral("ALL"), 2011));
    const QString naics = catalogue::table(QLatin1String(catalogue::NaicsRaw));
    Transaction tx(cn);

    // The sector folders under "All industries" get the added sub-folders in turn.
    QStringList sectors;
    RecordsetPtr rs = GetRS(
        cn, QStringLiteral("select NodeKey from tblTreeview where Parent = 'IndTOTALL' order by sequence"),
        QStringLiteral("read"));
    for (; !rs->eof(); rs->moveNext())
        sectors << rs->field(0).toString();
    if (sectors.isEmpty()) return QStringLiteral("the sample tree has no sector folders");

    QStringList folders = sectors;
    const int lastSequence =
        GetRS(cn, QStringLiteral("select max(sequence) from tblTreeview"), QStringLiteral("read"))
            ->field(0)
            .toInt();
    for (int i = 0; i < extraFolders; ++i) {
        const QString key = QStringLiteral("IndTBENCH%1").arg(i, 4, 10, QChar(u'0'));
        ExecCmdInDB(cn,
                    QStringLiteral("insert into tblTreeview (NodeKey, Parent, IndDescE, IndDescF, sequence) "
                                   "values (?, ?, ?, ?, ?)"),
                    {key, sectors[i % sectors.size()], QStringLiteral("Benchmark group %1").arg(i),
                     QStringLiteral("Groupe d'essai %1").arg(i), lastSequence + 1 + i});
        folders << key;
    }

    const int present = GetRS(cn, QStringLiteral("select count(*) from ") + dataset, QStringLiteral("read"))
                            ->field(0)
                            .toInt();
    const int lastIndustry =
        GetRS(cn, QStringLiteral("select max(sequence) from ") + naics, QStringLiteral("read"))
            ->field(0)
            .toInt();
    for (int i = 0; present + i < industries; ++i) {
        const QString code = QStringLiteral("9%1").arg(i, 5, 10, QChar(u'0'));
        const QString folder = folders[i % folders.size()];
        ExecCmdInDB(
            cn,
            QStringLiteral("insert into ") + naics +
                QStringLiteral(
                    " (NAICS, Description, Description_french, definitione, definitionf, Parent, NodeKey, "
                    "sequence) values (?, ?, ?, ?, ?, ?, ?, ?)"),
            {code, QStringLiteral("Synthetic industry %1 of wholesale and retail services").arg(i),
             QStringLiteral("Industrie synthétique %1 de services de gros et de détail").arg(i),
             QStringLiteral("A synthetic industry for measuring."),
             QStringLiteral("Une industrie synthétique pour mesurer."), folder, QStringLiteral("Ind") + code,
             lastIndustry + 1 + i});
        ExecCmdInDB(cn,
                    QStringLiteral("insert into ") + dataset +
                        QStringLiteral(" (NAICS, NumberOfFirms) values (?, ?)"),
                    {code, 100 + i % 400});
    }
    tx.commit();
    DisconnectFromDB(cn);
    return QString();
}
