// The CSV reader of the reference data import (libcsv underneath): any bytes, whatever
// encoding and separator it guesses, give records or a refusal, never a crash.

#include "data/CsvFile.h"
#include "platform/Platform.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        (void)csv::parse(bytes);
    } catch (const FatalError&) {
        // A refusal, not a crash.
    }
    return 0;
}
