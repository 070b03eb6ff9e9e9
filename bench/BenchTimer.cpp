#include "BenchTimer.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <vector>

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

Timing timeIt(const QString& name, int runs, const std::function<void()>& operation) {
    operation(); // warm-up: the first run fills caches no user waits for twice
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        operation();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return Timing{name, runs, median, ms.front(), ms.back()};
}

void printTiming(const Timing& t) {
    out() << QStringLiteral("%1  median %2 ms   (fastest %3, slowest %4, %5 runs)")
                 .arg(t.name, -48)
                 .arg(t.medianMs, 8, 'f', 2)
                 .arg(t.fastestMs, 0, 'f', 2)
                 .arg(t.slowestMs, 0, 'f', 2)
                 .arg(t.runs)
          << Qt::endl;
}
