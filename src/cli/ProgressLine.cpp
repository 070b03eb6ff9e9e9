#include "cli/ProgressLine.h"

#include <QtGlobal>

namespace cli {

ProgressLine::ProgressLine(QTextStream& err, bool enabled, QString unit)
    : err_(err), enabled_(enabled), unit_(std::move(unit)) {}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::show(qsizetype done, qsizetype total) {
    if (!enabled_) return;
    const int permille = total > 0 ? int(qBound(qsizetype(0), done * 1000 / total, qsizetype(1000))) : 1000;
    if (permille == shownPermille_ && done != total) return;
    shownPermille_ = permille;
    const int filled = permille * kWidth / 1000;
    const QString line = QStringLiteral("\r[%1%2] %3/%4 %5")
                             .arg(QString(filled, u'#'), QString(kWidth - filled, u'.'))
                             .arg(done)
                             .arg(total)
                             .arg(unit_);
    err_ << line;
    if (line.size() < width_) err_ << QString(width_ - line.size(), u' ');
    width_ = qMax(width_, line.size());
    err_.flush();
}

void ProgressLine::finish() {
    if (width_ == 0) return;
    err_ << u'\r' << QString(width_, u' ') << u'\r';
    err_.flush();
    width_ = 0;
    shownPermille_ = -1;
}

} // namespace cli
