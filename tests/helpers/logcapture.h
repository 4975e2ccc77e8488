#ifndef LOGCAPTURE_H
#define LOGCAPTURE_H

#include <QStringList>
#include <QtGlobal>

// Collects the debug log of the engine while it lives, so that a test can look at whole sets of
// lines (some come in no particular order) instead of announcing each one beforehand.
class LogCapture {
public:
    LogCapture() : previous(qInstallMessageHandler(&LogCapture::collect)) { current() = this; }
    ~LogCapture()
    {
        qInstallMessageHandler(previous);
        current() = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines;

    QStringList linesStartingWith(const QString &prefix) const
    {
        QStringList found;
        for (const QString &line : lines) {
            if (line.startsWith(prefix))
                found.append(line);
        }
        return found;
    }

private:
    static LogCapture *&current()
    {
        static LogCapture *capture = nullptr;
        return capture;
    }
    static void collect(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        if (current())
            current()->lines.append(message);
    }

    QtMessageHandler previous;
};

#endif // LOGCAPTURE_H
