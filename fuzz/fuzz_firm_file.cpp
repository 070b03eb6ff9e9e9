// The firm file reader: a JSON object or a CSV list, whatever bytes it is given. A firm
// it accepts is written back and read again to the same firm.

#include "firm/FirmFile.h"
#include "platform/Platform.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const firmfile::ReadResult json = firmfile::parseJson(bytes);
        if (json.ok()) {
            const firmfile::ReadResult again = firmfile::parseJson(firmfile::toJson(json.firm));
            if (!again.ok() || again.firm.firmName != json.firm.firmName ||
                again.firm.values != json.firm.values)
                std::abort();
        }
        (void)firmfile::parseCsv(QString::fromUtf8(bytes));
        const firmfile::ListResult list = firmfile::parseCsvList(bytes);
        for (const firmfile::ReadResult& row : list.rows)
            (void)row.ok();
    } catch (const FatalError&) {
        // Refused as an untrapped failure: a message, never a crash.
    }
    return 0;
}
