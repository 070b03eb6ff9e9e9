// The report layout reader: any JSON text as a layout, over report tables of a few
// figures. A layout it cannot follow is refused naming the place; it never crashes.

#include "platform/Platform.h"
#include "report/render/DocumentBuilder.h"
#include "report/render/ReportData.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QTextDocument>
#include <cstdint>
#include <memory>

namespace {

reportrender::ReportData sampleData() {
    reportrender::ReportData data;
    data.setTitleTable(QStringLiteral("Rpt_Ratios_Titles"));
    data.setTable(QStringLiteral("Rpt_Ratios_Titles"),
                  {{QStringLiteral("Language"), QStringLiteral("E")},
                   {QStringLiteral("Title"), QStringLiteral("<b>x</b>")}});
    data.setTable(QStringLiteral("Rpt_Data_CY"), {{QStringLiteral("NAICS"), QStringLiteral("448140")},
                                                  {QStringLiteral("CRQ1"), 1.25},
                                                  {QStringLiteral("CRQ2"), QVariant()},
                                                  {QStringLiteral("CRQ3"), -3.5e300}});
    data.setPreparedOn(QDate(2026, 12, 8));
    return data;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts and text layout want a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!doc.isObject()) return 0;
    static const reportrender::ReportData report = sampleData();
    try {
        const std::unique_ptr<QTextDocument> built =
            reportrender::buildFromLayout(doc.object(), report, QStringLiteral("fuzz.json"));
        (void)built->toPlainText();
    } catch (const FatalError&) {
        // Refused, naming the place.
    }
    return 0;
}
