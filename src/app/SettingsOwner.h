// An area that keeps some of "Nuvo.ini": it takes its values at the first
// show and gives them back at close.
#pragma once

namespace nuvo {

struct Settings;

class SettingsOwner {
public:
    virtual void restore(const Settings& settings) = 0;
    virtual void collect(Settings& settings) const = 0;

protected:
    ~SettingsOwner() = default;
};

} // namespace nuvo
