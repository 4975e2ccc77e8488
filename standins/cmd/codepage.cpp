#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

ConsoleCodePage ConsoleCodePage::fromEnvironment(const QProcessEnvironment &environment)
{
    const QString value = environment.value(QStringLiteral("KESTRUNE_CMD_CODEPAGE"));
    if (value.isEmpty())
        return ConsoleCodePage(chineseWindows);
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return ConsoleCodePage(isNumber ? number : 0);
}

// ICU, which Qt uses here, knows Windows code pages as "cp<number>" (cp936 is Microsoft's GBK).
ConsoleCodePage::ConsoleCodePage(int number) : pageNumber(number)
{
    if (number == 65001) {
        codecName = "UTF-8";
        return;
    }
    if (number <= 0)
        return;
    const QByteArray name = "cp" + QByteArray::number(number);
    if (QStringDecoder(name.constData()).isValid() && QStringEncoder(name.constData()).isValid())
        codecName = name;
}

QString ConsoleCodePage::decode(const QByteArray &bytes) const
{
    QStringDecoder decoder(codecName.constData());
    return decoder.decode(bytes);
}

QByteArray ConsoleCodePage::encode(const QString &text) const
{
    QStringEncoder encoder(codecName.constData());
    return encoder.encode(text);
}
