// The equalizer's named presets: the preset box and its saved list of names.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>
#include <QStringList>

namespace nuvo {


class Presets : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    explicit Presets(const AreaContext& context, QObject* parent = nullptr);

    // The names saved at the last close replace the design-time "Default".
    void restoreNames(const QString& path);
    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    QStringList names() const;

private:
    AreaContext context_;
};

} // namespace nuvo
