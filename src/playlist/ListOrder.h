// The orders the list can be put in: sorted by the whole path and shuffled
// with the player's random generator.
#pragma once

#include <QLocale>
#include <QStringList>

#include <vector>

namespace nuvo {

class RandomGenerator;

enum class SortOrder { Ascending, Descending };

// The entries sorted by their whole text in the locale's collation with
// letter case ignored (code point order of the case-folded text in the C
// locale). Descending is the exact reverse of ascending, ties included.
QStringList sortedEntries(const QStringList& entries, SortOrder order, const QLocale& locale);

// The shuffled order of count entries, as indexes into the old order: the
// entry first goes first, then each next one is drawn from those left,
// generator.index(number left), counted in their old order. One draw per
// entry after the first, so the generator goes on as it always has.
std::vector<int> shuffledOrder(int count, int first, RandomGenerator& generator);

} // namespace nuvo
