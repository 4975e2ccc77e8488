#ifndef HEADANDTAIL_H
#define HEADANDTAIL_H

#include <QString>
#include <QStringView>

// The first and the last characters of a stream, so that a tool printing without end costs a
// bounded amount of memory; the tail is trimmed only now and then to keep appending cheap. Kept
// for a tool run's result and for the log that shows the run.
class HeadAndTail {
public:
    explicit HeadAndTail(qsizetype limit) : limit(qMax<qsizetype>(limit, 1)) { }

    // Keeps the text; returns the part of it that went to the head, empty once the head is full.
    QStringView append(QStringView text);
    const QString &head() const { return kept; }
    // The last characters, at most the limit.
    QString tail();
    // Characters left out between the head and the tail.
    qint64 cut() const { return cutCharacters + qMax<qsizetype>(rest.size() - limit, 0); }
    void clear();

private:
    void trimTail();

    qsizetype limit;
    QString kept;
    QString rest;
    qint64 cutCharacters = 0;
};

#endif // HEADANDTAIL_H
