#include "headandtail.h"

QStringView HeadAndTail::append(QStringView text)
{
    const qsizetype room = qMax<qsizetype>(limit - kept.size(), 0);
    const QStringView toHead = text.left(room);
    kept += toHead;
    if (text.size() > room)
        rest += text.mid(room);
    if (rest.size() > 2 * limit)
        trimTail();
    return toHead;
}

QString HeadAndTail::tail()
{
    trimTail();
    return rest;
}

void HeadAndTail::clear()
{
    kept.clear();
    rest.clear();
    cutCharacters = 0;
}

void HeadAndTail::trimTail()
{
    const qsizetype excess = rest.size() - limit;
    if (excess <= 0)
        return;
    cutCharacters += excess;
    rest.remove(0, excess);
}
