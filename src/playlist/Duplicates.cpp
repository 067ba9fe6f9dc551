#include "playlist/Duplicates.h"

#include "playlist/PathRules.h"

#include <QSet>

namespace nuvo {

std::vector<int> keptAfterRemovingDuplicates(const QStringList& paths, DuplicateKey key)
{
    std::vector<int> kept;
    kept.reserve(static_cast<std::size_t>(paths.size()));
    QSet<QString> seen;
    seen.reserve(paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        const QString k = key == DuplicateKey::FullPath ? paths.at(i) : fileNamePart(paths.at(i));
        if (seen.contains(k))
            continue;
        seen.insert(k);
        kept.push_back(i);
    }
    return kept;
}

} // namespace nuvo
