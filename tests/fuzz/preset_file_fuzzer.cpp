// "Eqlz.ini" as the equalizer's presets read it: every band of every preset inside -120..120, for
// the names the file holds and for the names "Eqlz.lst" may hold (a line each); then "Add" and
// "Del" as they change the file, which must read back with the one preset changed and the others kept.
#include "FuzzCheck.h"

#include "app/IniFile.h"
#include "app/TextFile.h"
#include "equalizer/PresetFile.h"

#include <algorithm>

namespace {

// The preset box takes names of up to this many characters.
constexpr qsizetype kNameLength = 255;
// Each "Add" rewrites the whole file: a few names an input keep a run fast.
constexpr qsizetype kNamesAdded = 8;

void checkBands(const nuvo::BandTable& table, const QString& name)
{
    const bool inside = std::all_of(table.begin(), table.end(),
                                    [](std::int32_t v) { return v >= -nuvo::kBandLimit && v <= nuvo::kBandLimit; });
    nuvo::fuzz::require(inside, "a preset's bands are inside -120..120", name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace nuvo;
    const QByteArray bytes = fuzz::inputBytes(data, size);
    IniFile ini = IniFile::fromBytes(bytes);
    const QStringList stored = ini.sectionNames();
    for (const QString& name : stored)
        checkBands(readPreset(ini, name), name);

    const QStringList lines = decodeTextLines(bytes);
    for (const QString& line : lines)
        checkBands(readPreset(ini, line), line);
    for (const QString& line : lines.mid(0, kNamesAdded)) {
        // "Add" with the line typed as the name: trimmed, refused when empty.
        const QString name = line.left(kNameLength).trimmed();
        if (name.isEmpty())
            continue;
        BandTable table{};
        for (int band = 0; band < kBandCount; ++band)
            table[band] = static_cast<std::int32_t>((qHash(name) >> band) % (2 * kBandLimit + 1)) - kBandLimit;
        IniFile added = ini;
        writePreset(added, name, table);
        const IniFile reread = IniFile::fromBytes(added.toBytes());
        fuzz::require(readPreset(reread, name) == table, "an added preset reads back", name);
        for (const QString& other : stored) {
            if (other.compare(name, Qt::CaseInsensitive) != 0)
                fuzz::require(readPreset(reread, other) == readPreset(ini, other), "adding keeps the other presets", other);
        }

        // "Del" of the same name.
        IniFile deleted = reread;
        deleted.eraseSection(name);
        const QStringList left = IniFile::fromBytes(deleted.toBytes()).sectionNames();
        fuzz::require(!left.contains(name, Qt::CaseInsensitive), "a deleted preset is gone", name);
        fuzz::require(left.size() == reread.sectionNames().size() - 1, "deleting removes one preset", name);
    }
    return 0;
}
