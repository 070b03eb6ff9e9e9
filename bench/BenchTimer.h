#pragma once
// Runs an operation a number of times and reports the median of its durations, so that
// a slow first run (caches, lazy loading) or a busy moment of the machine does not
// decide the figure.

#include <QString>
#include <functional>

struct Timing {
    QString name;
    int runs;
    double medianMs;
    double fastestMs;
    double slowestMs;
};

Timing timeIt(const QString& name, int runs, const std::function<void()>& operation);

class QTextStream;
// The benchmark's standard output.
QTextStream& out();

// One line per timing: the median first, then the spread.
void printTiming(const Timing& t);
