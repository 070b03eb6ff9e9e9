#include "userdb/UserDatabaseFile.h"

#include "data/FileWriter.h"
#include "platform/Platform.h"
#include "text/StringTable.h"
#include "userdb/Salvage.h"
#include "userdb/UserDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace userdb {

namespace {

// SQLite's primary result codes, as the data access layer reports them.
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

bool isDamage(int code) {
    const int primary = code & 0xff;
    return primary == kSqliteCorrupt || primary == kSqliteNotADatabase;
}

[[noreturn]] void refuse(const QString& english, const QString& french) {
    throw UnusableUserDatabase{english + QStringLiteral("\n\n") + french};
}

[[noreturn]] void refuseNotWritable(const QString& path, const QString& what) {
    refuse(
        QStringLiteral("The user database %1 cannot be written: %2 is read-only.\n"
                       "Give yourself write permission on it (or copy the program to a folder of your own), "
                       "then start the program again.")
            .arg(path, what),
        QStringLiteral(
            "La base de données de l'utilisateur %1 ne peut pas être modifiée\u00a0: %2 est en lecture "
            "seule.\nDonnez-vous le droit d'écriture (ou copiez le programme dans un dossier à vous), "
            "puis relancez le programme.")
            .arg(path, what == QLatin1String("the file") ? QStringLiteral("le fichier")
                                                         : QStringLiteral("le dossier")));
}

[[noreturn]] void refuseBusy(const QString& path) {
    refuse(QStringLiteral("The user database %1 is in use by another copy of the program.\n"
                          "Close the other copy, then start the program again.")
               .arg(path),
           QStringLiteral(
               "La base de données de l'utilisateur %1 est utilisée par une autre copie du programme.\n"
               "Fermez l'autre copie, puis relancez le programme.")
               .arg(path));
}

// The permission bits as the user set them (an administrator could write anyway, but a
// file marked read-only is meant to stay as it is).
void checkWritable(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    // SQLite writes its journal beside the file, so the folder must be writable too.
    if (!folder.isWritable() || !folder.permission(QFile::WriteOwner))
        refuseNotWritable(path, QStringLiteral("its folder"));
    if (file.exists() && (!file.isWritable() || !file.permission(QFile::WriteOwner)))
        refuseNotWritable(path, QStringLiteral("the file"));
}

// Opens the file and reads its header and schema; a file that is no database fails here.
// The whole file is read too when asked for, or when an upgrade is coming: a damaged or
// truncated file then fails here as well. True when the whole file was read.
bool openAndCheck(Connection& cn, const QString& path, Check check) {
    ConnectToFile(cn, path, QStringLiteral("unknown"));
    GetRS(cn, QStringLiteral("SELECT count(*) FROM sqlite_master"), QStringLiteral("read"));
    if (check == Check::WhenNeeded && !needsUpgrade(cn)) return false;
    RecordsetPtr rs = GetRS(cn, QStringLiteral("PRAGMA quick_check"), QStringLiteral("read"));
    if (rs->eof() || rs->field(0).toString() != QLatin1String("ok"))
        throw FatalError(kSqliteCorrupt, QStringLiteral("database disk image is malformed"));
    return true;
}

QString keepDamaged(const QString& path, const QDateTime& now) {
    const QString kept = timestampedName(path, QStringLiteral("damaged"), now);
    if (!QFile::rename(path, kept))
        refuse(QStringLiteral("The user database %1 is damaged and could not be moved aside to %2.\n"
                              "Move or rename it yourself, then start the program again.")
                   .arg(path, kept),
               QStringLiteral(
                   "La base de données de l'utilisateur %1 est endommagée et n'a pas pu être renommée %2.\n"
                   "Déplacez-la ou renommez-la vous-même, puis relancez le programme.")
                   .arg(path, kept));
    // The journal of a damaged file belongs to it, not to the fresh one.
    const QString journal = path + QStringLiteral("-journal");
    if (QFile::exists(journal)) QFile::rename(journal, kept + QStringLiteral("-journal"));
    return kept;
}

// A database of another program at the user database's place is refused, named, before
// anything in it is added, dropped or upgraded. The start-up's messages come before a
// language is chosen: in both.
void refuseForeign(Connection& cn, const QString& path) {
    const std::optional<QString> part = foreignPart(cn);
    if (!part) return;
    DisconnectFromDB(cn);
    refuse(strings::text("userdb.foreign", Language::E).arg(path, *part),
           strings::text("userdb.foreign", Language::F).arg(path, *part));
}

// What a damaged file's schema says of its owner, when its schema can still be read.
void refuseForeignDamaged(const QString& path) {
    Connection cn;
    bool foreign = false;
    try {
        ConnectToFile(cn, path, QStringLiteral("unknown"), ReadOnly);
        foreign = foreignPart(cn).has_value();
    } catch (const FatalError&) {
        // Not even the list of its tables can be read: the file is taken for the program's.
    }
    if (foreign) refuseForeign(cn, path);
    DisconnectFromDB(cn);
}

// A new user database holding every firm record the damaged one still gives, put in its
// place once the damaged file is kept aside under another name.
void salvage(const QString& path, const QDateTime& now, OpenResult& result) {
    FileWriter fresh(path, Language::E, FileWriter::Content::ByName, pathguard::Replaces::UserDatabase);
    build(fresh.temporaryPath());
    {
        Connection cn;
        ConnectToFile(cn, fresh.temporaryPath(), QStringLiteral("unknown"));
        result.recovered = salvageFirms(path, cn);
        DisconnectFromDB(cn);
    }
    result.damagedKeptAs = keepDamaged(path, now);
    try {
        fresh.commit();
    } catch (const WriteFailure& e) {
        // The damaged file goes back where it was rather than leave no user database at all.
        QFile::rename(result.damagedKeptAs, path);
        refuse(e.description(), strings::text("file.write.failed", Language::F).arg(path, e.reason()));
    }
}

} // namespace

QString damagedNotice(const OpenResult& opened, const QString& path, Language language) {
    if (opened.recovered > 0)
        return strings::text("userdb.salvaged", language)
            .arg(path, QString::number(opened.recovered), opened.damagedKeptAs);
    return strings::text("userdb.salvagedNone", language).arg(path, opened.damagedKeptAs);
}

QString timestampedName(const QString& path, const QString& kind, const QDateTime& at) {
    const QString base = path + u'.' + kind + u'-' + at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + u'-' + QString::number(n);
    return name;
}

OpenResult openUserDatabase(Connection& cn, const QString& path, const QDateTime& now, Check check) {
    OpenResult result;
    checkWritable(path);
    try {
        ensureExists(path);
        result.checkedWhole = openAndCheck(cn, path, check);
    } catch (const DatabaseBusy&) {
        DisconnectFromDB(cn);
        refuseBusy(path);
    } catch (const FatalError& e) {
        DisconnectFromDB(cn);
        if (!isDamage(e.number())) throw;
        refuseForeignDamaged(path);
        salvage(path, now, result);
        result.checkedWhole = openAndCheck(cn, path, Check::Whole);
    }
    refuseForeign(cn, path);

    try {
        if (needsUpgrade(cn)) {
            result.backupPath = timestampedName(path, QStringLiteral("bak"), now);
            // A consistent copy of the open file, written before anything is changed, and
            // whole under its name or not there at all.
            FileWriter backup(result.backupPath, Language::E, FileWriter::Content::ByName);
            ExecCmdInDB(cn, QStringLiteral("VACUUM INTO ?"), {backup.temporaryPath()});
            backup.commit();
        }
        upgrade(cn);
    } catch (const DatabaseBusy&) {
        refuseBusy(path);
    } catch (const FatalError& e) {
        if ((e.number() & 0xff) == kSqliteReadOnly) refuseNotWritable(path, QStringLiteral("the file"));
        if (e.number() == errnum::NewerSchema)
            refuse(e.description() +
                       QStringLiteral("\nUse that version, or start this one with another user database."),
                   QStringLiteral(
                       "La base de données de l'utilisateur %1 a été écrite par une version plus récente du "
                       "programme.\nUtilisez cette version, ou démarrez celle-ci avec une autre base.")
                       .arg(path));
        throw;
    }
    return result;
}

} // namespace userdb
