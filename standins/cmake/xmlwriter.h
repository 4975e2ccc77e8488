#ifndef STANDIN_XMLWRITER_H
#define STANDIN_XMLWRITER_H

#include <QList>
#include <QString>

// MSBuild XML the way CMake's Visual Studio generators write it: a byte-order mark and the
// declaration, each element on its own line indented by two blanks per level, a childless
// element closed with " />", a text element on one line. Line feeds become CR LF when the text
// is written to disk.
class XmlWriter {
public:
    XmlWriter();

    void start(const QString &tag);
    void attribute(const QString &name, const QString &value);
    // A container that is written open and closed on two lines even when it stays empty.
    void keepOpen();
    void end();
    // Closes the element just started with its text: <Tag a="...">text</Tag>.
    void endWithText(const QString &text);

    void element(const QString &tag, const QString &text);
    void conditionElement(const QString &tag, const QString &condition, const QString &text);
    void emptyPair(const QString &tag); // <Tag>, line break, </Tag>

    QString text() const { return out; }

private:
    struct Open {
        QString tag;
        bool startTagOpen = true;
    };
    void closeStartTag();
    QString indent(int depth) const { return QString(depth * 2, QLatin1Char(' ')); }

    QString out;
    QList<Open> stack;
};

#endif // STANDIN_XMLWRITER_H
