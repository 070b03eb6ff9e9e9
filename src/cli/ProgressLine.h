#pragma once
// A progress bar on one terminal line, redrawn in place ("[#####.....] 420/1000 firms"),
// and wiped when the work is done so that what follows starts on a clean line. It is
// drawn only when asked for (a person watching a terminal) and only when the shown
// figure changes, so that a long run does not spend its time drawing.

#include <QString>
#include <QTextStream>

namespace cli {

class ProgressLine {
public:
    ProgressLine(QTextStream& err, bool enabled, QString unit);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(qsizetype done, qsizetype total);
    void finish();

private:
    static constexpr int kWidth = 30;
    QTextStream& err_;
    bool enabled_;
    QString unit_;
    int shownPermille_ = -1;
    qsizetype width_ = 0;
};

} // namespace cli
