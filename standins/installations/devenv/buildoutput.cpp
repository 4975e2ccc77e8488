#include "buildoutput.h"

#include <QStringList>
#include <cstdio>

void BuildOutput::plain(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void BuildOutput::line(const QString &text) const
{
    plain(QString::number(number) + QLatin1Char('>') + text);
}

void BuildOutput::lines(const QString &text) const
{
    for (QString each : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (each.endsWith(QLatin1Char('\r')))
            each.chop(1);
        line(each);
    }
}

void BuildOutput::error(const QString &code, const QString &message) const
{
    line(QStringLiteral("%1 : error %2: %3").arg(projectFileName, code, message));
}

void BuildOutput::warning(const QString &code, const QString &message) const
{
    line(QStringLiteral("%1 : warning %2: %3").arg(projectFileName, code, message));
}
