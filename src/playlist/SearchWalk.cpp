#include "playlist/SearchWalk.h"

#include <algorithm>

namespace nuvo {

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

SearchText::SearchText(const QString& text, const QLocale& locale) : locale_(locale), upper_(locale.toUpper(text))
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    asciiShortcut_ = isAscii(upper_) && locale.toUpper(letters) == letters.toUpper();
}

bool SearchText::foundIn(const QString& path) const
{
    // An ASCII path upper-cases letter by letter, so a search that ignores
    // ASCII case finds what the upper-cased copy would.
    if (asciiShortcut_ && isAscii(path))
        return path.contains(upper_, Qt::CaseInsensitive);
    return locale_.toUpper(path).contains(upper_);
}

SearchStep nextSearchStep(const QStringList& paths, const SearchText& text, std::optional<int> focusedSelected)
{
    if (text.isEmpty())
        return {};
    const bool selected = focusedSelected.has_value();
    const int start = selected ? *focusedSelected + 1 : 0;
    for (int i = std::max(start, 0); i < paths.size(); ++i) {
        if (text.foundIn(paths.at(i)))
            return {SearchStep::Action::Select, i};
    }
    // Past the last match, or nothing after the focused entry: back to the current one.
    return selected ? SearchStep{SearchStep::Action::ReturnToCurrent, -1} : SearchStep{};
}

} // namespace nuvo
