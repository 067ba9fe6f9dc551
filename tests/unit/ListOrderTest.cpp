#include "playlist/ListOrder.h"

#include "playback/RandomIndex.h"

#include "TestSupport.h"

#include <QCollator>

#include <algorithm>

namespace nuvo {
namespace {

QStringList reversed(QStringList list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

TEST(SortEntries, WholePathsLetterCaseIgnoredInTheLocalesOrder)
{
    struct Case {
        const char* locale;
        QStringList entries;
        QStringList ascending;
    };
    const Case cases[] = {
        // A case-sensitive order would put every capital first.
        {"C", {"/b.mp3", "/C.mp3", "/a2.mp3", "/A.mp3"}, {"/A.mp3", "/a2.mp3", "/b.mp3", "/C.mp3"}},
        {"en_US", {"/b.mp3", "/C.mp3", "/a2.mp3", "/A.mp3"}, {"/A.mp3", "/a2.mp3", "/b.mp3", "/C.mp3"}},
        // The locale's collation puts an accented letter beside its base; the C locale by code point.
        {"en_US", {"/f.mp3", "/\u00e9.mp3", "/e.mp3"}, {"/e.mp3", "/\u00e9.mp3", "/f.mp3"}},
        {"C", {"/f.mp3", "/\u00e9.mp3", "/e.mp3"}, {"/e.mp3", "/f.mp3", "/\u00e9.mp3"}},
        // The whole path counts, directories first in it.
        {"en_US", {"/z/a.mp3", "/a/z.mp3"}, {"/a/z.mp3", "/z/a.mp3"}},
    };
    for (const Case& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(sortedEntries(c.entries, SortOrder::Ascending, locale), c.ascending) << c.locale;
        EXPECT_EQ(sortedEntries(c.entries, SortOrder::Descending, locale), reversed(c.ascending)) << c.locale;
    }
}

TEST(SortEntries, DescendingIsTheExactReverseEvenOfEqualEntries)
{
    // "/x/A.mp3" and "/x/a.mp3" compare equal: whichever order ascending gives them, descending turns it.
    const QStringList entries{"/x/a.mp3", "/b.mp3", "/x/A.mp3", "/X/a.mp3", "/c.mp3"};
    for (const char* name : {"C", "en_US", "de_DE"}) {
        const QLocale locale(QString::fromLatin1(name));
        const QStringList ascending = sortedEntries(entries, SortOrder::Ascending, locale);
        EXPECT_EQ(sortedEntries(entries, SortOrder::Descending, locale), reversed(ascending)) << name;
        EXPECT_EQ(ascending.first(), "/b.mp3") << name;
    }
}

TEST(SortEntries, AgreesWithTheLocalesCaseInsensitiveComparison)
{
    QStringList entries;
    const QStringList parts{"Zoë", "zoe", "Äpfel", "apfel", "b-side", "B_side", "10", "9", "Ω", "omega"};
    for (int i = 0; i < 400; ++i)
        entries << QStringLiteral("/%1/%2 %3.mp3").arg(parts[(i * 7) % parts.size()], parts[(i * 3) % parts.size()]).arg(i % 13);
    for (const char* name : {"en_US", "de_DE", "sv_SE"}) {
        const QLocale locale(QString::fromLatin1(name));
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        const QStringList sorted = sortedEntries(entries, SortOrder::Ascending, locale);
        ASSERT_EQ(sorted.size(), entries.size());
        for (int i = 1; i < sorted.size(); ++i)
            ASSERT_LE(collator.compare(sorted[i - 1], sorted[i]), 0) << name << " at " << i;
    }
}

// The draw as the loop mode's generator makes it, removing each drawn entry from the middle.
std::vector<int> shuffledByRemoval(int count, int first, RandomGenerator& generator)
{
    std::vector<int> source(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        source[static_cast<std::size_t>(i)] = i;
    std::vector<int> result{first};
    source.erase(source.begin() + first);
    while (!source.empty()) {
        const int j = generator.index(static_cast<int>(source.size()));
        result.push_back(source[static_cast<std::size_t>(j)]);
        source.erase(source.begin() + j);
    }
    return result;
}

TEST(ShuffleEntries, KeepsTheDrawSequenceOfTheGenerator)
{
    struct Case {
        std::uint32_t seed;
        int count;
        int first;
    };
    const Case cases[] = {{1, 2, 0}, {7, 3, 2}, {12345, 10, 4}, {0xFFFFFFFFu, 1000, 999}, {2024, 4097, 0}};
    for (const Case& c : cases) {
        RandomGenerator mine;
        RandomGenerator reference;
        mine.seed(c.seed);
        reference.seed(c.seed);
        EXPECT_EQ(shuffledOrder(c.count, c.first, mine), shuffledByRemoval(c.count, c.first, reference))
            << "seed " << c.seed << ", " << c.count << " entries";
        // One draw per entry after the first: the random loop mode goes on as it would have.
        EXPECT_EQ(mine.next(), reference.next()) << "seed " << c.seed;
    }
}

} // namespace
} // namespace nuvo
