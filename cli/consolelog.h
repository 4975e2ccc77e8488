#ifndef CONSOLELOG_H
#define CONSOLELOG_H

#include "buildevents.h"

#include <QObject>

// What the window's log pane shows, printed on standard output: each step, each tool's command
// line, everything it printed and how it ended.
class ConsoleLog : public QObject {
    Q_OBJECT

public:
    explicit ConsoleLog(BuildEvents *events, QObject *parent = nullptr);

private:
    void line(const QString &text);
    void toolOutput(const QString &text);

    bool atLineStart = true;
};

#endif // CONSOLELOG_H
