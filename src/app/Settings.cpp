#include "app/Settings.h"

#include "app/IniFile.h"

namespace nuvo {

namespace {
const QString kMainForm = QStringLiteral("MainForm");
const QString kList = QStringLiteral("List");
const QString kEqualizer = QStringLiteral("Equalizer");
const QString kOption = QStringLiteral("Option");
const QString kFavorite = QStringLiteral("Favorite");
const QString kLabel = QStringLiteral("Label");
const QString kEngine = QStringLiteral("Engine");
const QString kHotKey = QStringLiteral("HotKey");
} // namespace

Settings Settings::read(const IniFile& ini, const SettingsDefaults& defaults)
{
    Settings s;
    s.left = ini.readInteger(kMainForm, "Left", defaults.left);
    s.top = ini.readInteger(kMainForm, "Top", defaults.top);
    s.width = ini.readInteger(kMainForm, "Width", kDesignClientWidth);
    s.height = ini.readInteger(kMainForm, "Height", kDesignClientHeight);

    s.ready = ini.readInteger(kList, "Ready", 0);
    s.hotKeyLocked = ini.readBool(kHotKey, "Lock", false);
    s.hotKey = ini.readString(kHotKey, "Key", QString());
    s.search = ini.readString(kList, "Search", QString());
    s.openedList = ini.readString(kList, "OpenedList", QString());
    s.listChanged = ini.readBool(kList, "ListChanged", false);
    s.equalizerEnabled = ini.readBool(kEqualizer, "Enable", false);
    s.presetItem = ini.readInteger(kEqualizer, "Item", -1);

    s.single = ini.readBool(kOption, "Single", false);
    s.all = ini.readBool(kOption, "All", false);
    s.random = ini.readBool(kOption, "Random", false);
    s.slowSeek = ini.readBool(kOption, "Seek", false);
    s.highSpeedEqualizer = ini.readBool(kOption, "Equalize", false);
    s.saveSize = ini.readBool(kOption, "WinSize", false);
    s.playedColor = ini.readBool(kOption, "Prepared", false);
    s.progressColor = ini.readBool(kOption, "Progress", false);
    s.tabsAtBottom = ini.readBool(kOption, "Tab", false);
    s.autoStart = ini.readBool(kFavorite, "AutoStart", false);
    s.clearListToOpen = ini.readBool(kFavorite, "ClearList", false);
    s.preColor = ini.readString(kOption, "PreColor", defaults.preColor);
    s.proColor = ini.readString(kOption, "ProColor", defaults.proColor);
    s.volume = ini.readString(kLabel, "Volume", QStringLiteral("100"));

    s.bufferOptionsSet = ini.readBool(kEngine, "Vbmp3", false);
    s.decodeOptionsSet = ini.readBool(kEngine, "Decoder", false);
    s.inFrame = ini.readInteger(kEngine, "InFrame", 30);
    s.outFrame = ini.readInteger(kEngine, "OutFrame", 20);
    s.inSleep = ini.readInteger(kEngine, "InSleep", 5);
    s.outSleep = ini.readInteger(kEngine, "OutSleep", 0);
    s.downSample = ini.readInteger(kEngine, "DownSample", 0);
    s.channel = ini.readInteger(kEngine, "Channel", 0);
    s.outSample = ini.readInteger(kEngine, "OutSample", 24000);
    // The user's output format and the equalizer exclude each other; a file
    // with both switched on keeps the output format and the equalizer off.
    if (s.decodeOptionsSet)
        s.equalizerEnabled = false;
    return s;
}

void Settings::write(IniFile& ini) const
{
    ini.writeInteger(kMainForm, "Left", left);
    ini.writeInteger(kMainForm, "Top", top);
    ini.writeInteger(kMainForm, "Width", width);
    ini.writeInteger(kMainForm, "Height", height);

    ini.writeInteger(kList, "Ready", ready);
    ini.writeString(kList, "Search", search);
    ini.writeString(kList, "OpenedList", openedList);
    ini.writeBool(kList, "ListChanged", listChanged);

    ini.writeBool(kEqualizer, "Enable", equalizerEnabled);
    ini.writeInteger(kEqualizer, "Item", presetItem);

    ini.writeBool(kOption, "Single", single);
    ini.writeBool(kOption, "All", all);
    ini.writeBool(kOption, "Random", random);
    ini.writeBool(kOption, "Seek", slowSeek);
    ini.writeBool(kOption, "Equalize", highSpeedEqualizer);
    ini.writeBool(kOption, "WinSize", saveSize);
    ini.writeBool(kOption, "Prepared", playedColor);
    ini.writeBool(kOption, "Progress", progressColor);
    ini.writeBool(kOption, "Tab", tabsAtBottom);
    ini.writeString(kOption, "PreColor", preColor);
    ini.writeString(kOption, "ProColor", proColor);

    ini.writeString(kLabel, "Volume", volume);

    ini.writeBool(kEngine, "Vbmp3", bufferOptionsSet);
    ini.writeBool(kEngine, "Decoder", decodeOptionsSet);
    ini.writeInteger(kEngine, "InFrame", inFrame);
    ini.writeInteger(kEngine, "OutFrame", outFrame);
    ini.writeInteger(kEngine, "InSleep", inSleep);
    ini.writeInteger(kEngine, "OutSleep", outSleep);
    ini.writeInteger(kEngine, "DownSample", downSample);
    ini.writeInteger(kEngine, "Channel", channel);
    ini.writeInteger(kEngine, "OutSample", outSample);

    ini.writeBool(kFavorite, "AutoStart", autoStart);
    ini.writeBool(kFavorite, "ClearList", clearListToOpen);

    ini.writeBool(kHotKey, "Lock", hotKeyLocked);
    ini.writeString(kHotKey, "Key", sanitizedHotKey(hotKey));
}

QString sanitizedHotKey(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const QChar first = text.front();
    const bool asciiLetterOrDigit = first.unicode() < 128 && first.isLetterOrNumber();
    return asciiLetterOrDigit ? text : QString();
}

} // namespace nuvo
