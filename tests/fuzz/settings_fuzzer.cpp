// "Nuvo.ini" as the player reads it at start and rewrites it at close: any bytes give settings
// (unreadable values fall back to their defaults, colours to a colour), and a file written back
// reads as the same settings with every other section and key kept.
#include "FuzzCheck.h"

#include "app/ColorText.h"
#include "app/IniFile.h"
#include "app/Settings.h"

namespace {

using nuvo::Settings;

QString describe(const Settings& s)
{
    nuvo::IniFile ini;
    s.write(ini);
    return QString::fromUtf8(ini.toBytes());
}

bool sameSettings(const Settings& a, const Settings& b)
{
    return describe(a) == describe(b) && a.hotKey == b.hotKey;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace nuvo;
    const SettingsDefaults defaults{40, 30, QStringLiteral("255"), QStringLiteral("$FF00")};
    IniFile ini = IniFile::fromBytes(fuzz::inputBytes(data, size));
    Settings read = Settings::read(ini, defaults);
    for (const QString& colour : {read.preColor, read.proColor}) {
        const int ref = parseColorRef(colour, -1);
        fuzz::require(ref == -1 || (ref >= 0 && ref <= 0xFFFFFF), "a colour is -1 or 0x000000..0xFFFFFF");
    }
    fuzz::require(!(read.decodeOptionsSet && read.equalizerEnabled), "the output format switches the equalizer off");

    // The close: the settings written into the file as it was read, which keeps what else it held.
    read.write(ini);
    const QByteArray written = ini.toBytes();
    const IniFile reread = IniFile::fromBytes(written);
    fuzz::require(reread.toBytes() == written, "a written file reads back whole", QString::fromUtf8(written));
    Settings expected = read;
    expected.hotKey = sanitizedHotKey(read.hotKey);
    fuzz::require(sameSettings(Settings::read(reread, defaults), expected), "written settings read back the same",
                  QString::fromUtf8(written));
    return 0;
}
