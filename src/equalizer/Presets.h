// The equalizer's named presets: the preset box, its saved list of names and
// the curves stored in "Eqlz.ini".
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>
#include <QStringList>

namespace nuvo {

class EqualizerPage;
class IniFile;

class Presets : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    // presetFile: where the curves are stored.
    Presets(const AreaContext& context, EqualizerPage& equalizer, const QString& presetFile,
            QObject* parent = nullptr);

    // The names saved at the last close replace the design-time "Default".
    void restoreNames(const QString& path);
    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    QStringList names() const;
    // First show: the restored preset is loaded as if picked, or the flat curve drawn.
    void showRestoredPreset();

    void comboBox2Change();
    void addExecute();
    void delExecute();

private:
    void nameEdited();
    // The box's activation: a pick from the list, or the end of an edit.
    void nameChosen();
    void keepTypedName();
    void setAddEnabled(bool enabled);
    void setDelEnabled(bool enabled);
    void selectItem(int index);
    bool saveChange(const IniFile& ini);

    AreaContext context_;
    EqualizerPage& equalizer_;
    QString presetFile_;
    bool editFinishing_ = false;
};

} // namespace nuvo
