// Everything "Nuvo.ini" holds, read and written in one place so the keys,
// their defaults and the order they are written in stay together.
#pragma once

#include <QString>

namespace nuvo {

class IniFile;

// The values whose defaults depend on the desktop the player starts on.
struct SettingsDefaults {
    int left = 0;
    int top = 0;
    QString preColor; // decimal 0x00BBGGRR text of the desktop's link colour
    QString proColor; // same, of its highlight colour
};

struct Settings {
    // [MainForm]
    int left = 0;
    int top = 0;
    int width = 300;
    int height = 324;
    // [List]
    int ready = 0;
    QString search;
    QString openedList;
    bool listChanged = false;
    // [Equalizer]
    bool equalizerEnabled = false;
    int presetItem = -1;
    // [Option]
    bool single = false;
    bool all = false;
    bool random = false;
    bool slowSeek = false;
    bool highSpeedEqualizer = false;
    bool saveSize = false;
    bool playedColor = false;
    bool progressColor = false;
    bool tabsAtBottom = false;
    QString preColor;
    QString proColor;
    // [Favorite]
    bool autoStart = false;
    bool clearListToOpen = false;
    // [Label]
    QString volume = QStringLiteral("100");
    // [Engine]
    bool bufferOptionsSet = false;
    bool decodeOptionsSet = false;
    int inFrame = 30;
    int outFrame = 20;
    int inSleep = 5;
    int outSleep = 0;
    int downSample = 0;
    int channel = 0;
    int outSample = 24000;
    // [HotKey]
    bool hotKeyLocked = false;
    QString hotKey;

    static Settings read(const IniFile& ini, const SettingsDefaults& defaults);
    // Writes every key, section by section, in the order a fresh file shows them.
    void write(IniFile& ini) const;
};

// The hot-key text as it is saved: kept when it starts with an ASCII letter
// or digit, otherwise empty.
QString sanitizedHotKey(const QString& text);

inline constexpr int kDesignClientWidth = 300;
inline constexpr int kDesignClientHeight = 324;

} // namespace nuvo
