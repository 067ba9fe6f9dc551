// The walk of the search box through the playlist: each press goes to the
// next entry whose whole path holds the text, letter case ignored; after the
// last match one press returns to the current entry, the next starts over.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvo {

// Whether a path holds a text once both are upper-cased by the locale's rules.
class SearchText {
public:
    SearchText(const QString& text, const QLocale& locale);

    bool isEmpty() const { return upper_.isEmpty(); }
    bool foundIn(const QString& path) const;

private:
    QLocale locale_;
    QString upper_;
    // Plain ASCII text in a locale that upper-cases ASCII as ASCII does: an
    // ASCII path can then be searched without upper-casing a copy of it.
    bool asciiShortcut_ = false;
};

struct SearchStep {
    enum class Action {
        None,            // nothing changes
        Select,          // select only the entry at index
        ReturnToCurrent, // clear the selection, focus the current entry
    };
    Action action = Action::None;
    int index = -1;
};

// What one press does. focusedSelected is the focused entry while some entry
// is selected, and empty while nothing is.
SearchStep nextSearchStep(const QStringList& paths, const SearchText& text, std::optional<int> focusedSelected);

} // namespace nuvo
