// The reading of a value box's text: the leading number, the normal form and the
// texts written back. Whatever the text, nothing crashes, and the normal form is a
// fixed point that reads back as the number it stands for.

#include "firm/ValueText.h"
#include "platform/Platform.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double leading = valuetext::leadingNumber(text);
    (void)valuetext::leadingNumberText(text);
    (void)valuetext::singleText(static_cast<float>(leading));
    if (std::isfinite(leading)) (void)valuetext::doubleText(leading);
    if (const auto normal = valuetext::normalForm(text)) {
        const auto again = valuetext::normalForm(*normal);
        if (!again || *again != *normal) std::abort(); // the normal form is its own normal form
        // It reads back within half a ten-thousandth of the leading number.
        if (std::fabs(valuetext::leadingNumber(*normal) - leading) > 0.0000501 + std::fabs(leading) * 1e-15)
            std::abort();
    }
    try {
        (void)valuetext::toDouble(text);
    } catch (const FatalError&) {
        // A text that is not a number is refused; that is its answer.
    }
    return 0;
}
