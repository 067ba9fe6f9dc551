// Which entries of a list stay when duplicates go: the first of equal
// entries is kept. By full path, entries are equal when their paths are the
// same text (letter case counts, as the file system does); by file name,
// when the parts after the last "/" are.
#pragma once

#include <QStringList>

#include <vector>

namespace nuvo {

enum class DuplicateKey { FullPath, FileName };

// The indexes of the entries that stay, in list order.
std::vector<int> keptAfterRemovingDuplicates(const QStringList& paths, DuplicateKey key);

} // namespace nuvo
