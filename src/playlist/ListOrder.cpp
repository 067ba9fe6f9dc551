#include "playlist/ListOrder.h"

#include "playback/RandomIndex.h"

#include <QCollator>

#include <algorithm>
#include <bit>
#include <numeric>

namespace nuvo {

namespace {

// Ascending indexes by precomputed keys, equal keys in list order; a key is
// made once per entry, so the sort compares bytes, not texts in a locale.
template <typename Key, typename Less>
std::vector<int> orderByKeys(const std::vector<Key>& keys, Less less)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(keys[a], keys[b]); });
    return order;
}

std::vector<int> ascendingOrder(const QStringList& entries, const QLocale& locale)
{
    if (locale.language() == QLocale::C) {
        std::vector<QString> keys;
        keys.reserve(entries.size());
        for (const QString& entry : entries)
            keys.push_back(entry.toCaseFolded());
        return orderByKeys(keys, std::less<QString>());
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const QString& entry : entries)
        keys.push_back(collator.sortKey(entry));
    return orderByKeys(keys, [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
}

// The entries not drawn yet, in their old order, with the n-th of them found
// and taken out in logarithmic time (a Fenwick tree of "still there" counts).
class RemainingEntries {
public:
    explicit RemainingEntries(int count) : tree_(static_cast<std::size_t>(count) + 1)
    {
        for (int i = 1; i <= count; ++i)
            tree_[i] = i & -i;
    }

    void take(int index)
    {
        for (std::size_t i = static_cast<std::size_t>(index) + 1; i < tree_.size(); i += i & (~i + 1))
            --tree_[i];
    }

    // The old index of the n-th (from 0) entry still there, taken out.
    int takeNth(int n)
    {
        std::size_t position = 0;
        int rank = n + 1;
        for (std::size_t step = std::bit_floor(tree_.size() - 1); step > 0; step >>= 1) {
            if (position + step < tree_.size() && tree_[position + step] < rank) {
                position += step;
                rank -= tree_[position];
            }
        }
        const int index = static_cast<int>(position);
        take(index);
        return index;
    }

private:
    std::vector<int> tree_;
};

} // namespace

QStringList sortedEntries(const QStringList& entries, SortOrder order, const QLocale& locale)
{
    std::vector<int> indexes = ascendingOrder(entries, locale);
    if (order == SortOrder::Descending)
        std::reverse(indexes.begin(), indexes.end());
    QStringList sorted;
    sorted.reserve(entries.size());
    for (int i : indexes)
        sorted.append(entries.at(i));
    return sorted;
}

std::vector<int> shuffledOrder(int count, int first, RandomGenerator& generator)
{
    std::vector<int> order;
    if (count <= 0)
        return order;
    order.reserve(static_cast<std::size_t>(count));
    RemainingEntries remaining(count);
    first = std::clamp(first, 0, count - 1);
    remaining.take(first);
    order.push_back(first);
    for (int left = count - 1; left > 0; --left)
        order.push_back(remaining.takeNth(generator.index(left)));
    return order;
}

} // namespace nuvo
