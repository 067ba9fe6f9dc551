#include "app/TrayHotKeyTexts.h"

namespace nuvo {

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

} // namespace

QString hotKeyCharacters(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        if (isAsciiLetterOrDigit(c))
            kept += c;
    }
    return kept;
}

char16_t hotKeyCharacter(const QString& text)
{
    if (text.isEmpty() || !isAsciiLetterOrDigit(text.front()))
        return 0;
    return text.front().toUpper().unicode();
}

QString trayTip(const QString& title)
{
    if (title.size() <= kTrayTipLength)
        return title;
    qsizetype length = kTrayTipLength;
    if (title.at(length - 1).isHighSurrogate())
        --length;
    return title.left(length);
}

} // namespace nuvo
