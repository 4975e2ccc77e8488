#ifndef CRLFTEXTFILE_H
#define CRLFTEXTFILE_H

#include <QFile>
#include <QString>

// Writes generated text the same way on every host: UTF-8 without byte-order mark and every line
// feed as CR LF, as Windows' text mode would. Qt's text mode writes bare line feeds on Linux, so
// the conversion is done here, in the one place every generated file goes through.
class CrlfTextFile {
public:
    explicit CrlfTextFile(const QString &path);

    // Truncate (or append to) the file; false when it cannot be opened for writing.
    bool openForWriting();
    bool openForAppending();

    // Each line feed of the text is written as CR LF.
    void write(const QString &text);
    void writeLine(const QString &line = QString());
    bool flush();
    void close();

    QString errorString() const;

private:
    QFile file;
};

#endif // CRLFTEXTFILE_H
