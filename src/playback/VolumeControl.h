// The volume: Label1 shows it, VolumeLeft and VolumeRight hold it for the decoder.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

namespace nuvo {

struct PlaybackState;

class VolumeControl : public SettingsOwner {
public:
    VolumeControl(const AreaContext& context, PlaybackState& own);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // The restored label becomes the volume in force (first show).
    void applyRestored();
    void send();

private:
    AreaContext context_;
    PlaybackState& own_;
};

} // namespace nuvo
