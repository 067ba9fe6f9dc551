// The Engine page: the decoder's buffer and output settings, shown in the
// engine list and handed to the decoder.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "vbmp3.h"

#include <QObject>

namespace Ui {
class Form1;
}

namespace nuvo {


// Lines of the engine list that carry a check box.
enum class EngineLine { BufferOptions = 0, DecodeOptions = 6 };

bool isEngineLineChecked(const Ui::Form1& ui, EngineLine line);

class EnginePage : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    explicit EnginePage(const AreaContext& context, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // The saved settings that are switched on go to the decoder (first show).
    void applyRestored(const Settings& settings);
    void markHeaders();
    void setDecoderSettingEnabled(bool enabled);

private:
    void setLineChecked(EngineLine line, bool checked);
    void applyBufferOptions(const BufferOptions& options);
    void applyDecodeOptions(const DecodeOptions& options);

    AreaContext context_;
};

} // namespace nuvo
