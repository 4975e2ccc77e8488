#ifndef EVENTGAPMETER_H
#define EVENTGAPMETER_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

// A timer that fires as often as it can: the longest pause between two firings is the longest
// time the thread processed no event.
class EventGapMeter : public QObject {
public:
    EventGapMeter()
    {
        timer.setInterval(1);
        connect(&timer, &QTimer::timeout, this, [this] {
            longestGapMs = std::max(longestGapMs, sinceLast.nsecsElapsed() / 1e6);
            sinceLast.restart();
        });
        sinceLast.start();
        timer.start();
    }
    double longestGapMs = 0;

private:
    QTimer timer;
    QElapsedTimer sinceLast;
};

#endif // EVENTGAPMETER_H
