// refdata_import_child SOURCE_DIR TARGET: runs one import and prints each progress
// report on its own line, so that a test can stop the process at a known stage.

#include "refdata/ReferenceImport.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) return 2;
    refdata::ImportRequest request;
    request.sourceDir = args[1];
    request.target = args[2];
    request.progress = [](const refdata::Progress& p) {
        std::printf("%s %d/%d %lld/%lld\n",
                    p.stage == refdata::Progress::Stage::Writing ? "writing" : "checking", p.fileIndex,
                    p.fileCount, static_cast<long long>(p.rows), static_cast<long long>(p.totalRows));
        std::fflush(stdout);
        return true;
    };
    const refdata::ImportOutcome outcome = refdata::importReference(request);
    return outcome.written ? 0 : 1;
}
