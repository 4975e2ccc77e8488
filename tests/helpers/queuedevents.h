#ifndef QUEUEDEVENTS_H
#define QUEUEDEVENTS_H

#include "buildevents.h"

#include <QMetaMethod>

// The engine's events, each queued to the test's thread. The engine's workers emit on their own
// threads, two at once while host and node compile, and a QSignalSpy records in the emitting
// thread; a spy on these records on the test's thread only, so the test may read it while the
// workers go on.
class QueuedEvents : public BuildEvents {
public:
    explicit QueuedEvents(BuildEvents *source)
    {
        const QMetaObject &events = BuildEvents::staticMetaObject;
        for (int index = events.methodOffset(); index < events.methodCount(); ++index) {
            const QMetaMethod method = events.method(index);
            if (method.methodType() == QMetaMethod::Signal)
                connect(source, method, this, method, Qt::QueuedConnection);
        }
    }
};

#endif // QUEUEDEVENTS_H
