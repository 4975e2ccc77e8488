#include "xmlwriter.h"

#include "vsformat.h"

XmlWriter::XmlWriter()
    : out(QChar(0xFEFF) + QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"))
{
}

void XmlWriter::closeStartTag()
{
    if (!stack.isEmpty() && stack.last().startTagOpen) {
        out += QLatin1Char('>');
        stack.last().startTagOpen = false;
    }
}

void XmlWriter::start(const QString &tag)
{
    closeStartTag();
    out += QLatin1Char('\n') + indent(stack.size()) + QLatin1Char('<') + tag;
    stack.append({ tag, true });
}

void XmlWriter::attribute(const QString &name, const QString &value)
{
    out += QLatin1Char(' ') + name + QStringLiteral("=\"") + xmlAttribute(value) + QLatin1Char('"');
}

void XmlWriter::keepOpen()
{
    closeStartTag();
}

void XmlWriter::end()
{
    const Open open = stack.takeLast();
    if (open.startTagOpen)
        out += QStringLiteral(" />");
    else
        out += QLatin1Char('\n') + indent(stack.size()) + QStringLiteral("</") + open.tag
            + QLatin1Char('>');
}

void XmlWriter::endWithText(const QString &text)
{
    const Open open = stack.takeLast();
    out += QLatin1Char('>') + xmlText(text) + QStringLiteral("</") + open.tag + QLatin1Char('>');
}

void XmlWriter::element(const QString &tag, const QString &text)
{
    start(tag);
    endWithText(text);
}

void XmlWriter::conditionElement(const QString &tag, const QString &condition, const QString &text)
{
    start(tag);
    attribute(QStringLiteral("Condition"), condition);
    endWithText(text);
}

void XmlWriter::emptyPair(const QString &tag)
{
    start(tag);
    keepOpen();
    end();
}
