// make-sample-data OUTPUT.db: writes the synthetic sample reference database that
// the program and its tests read in place of the published industry figures.

#include "SampleDatabase.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: make-sample-data OUTPUT.db\n");
        return 2;
    }
    try {
        sampledata::buildSampleDatabase(args[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-sample-data: %s\n", e.what());
        return 1;
    }
    return 0;
}
