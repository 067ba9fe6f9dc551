// The Engine page: the decoder's buffer and output settings, shown in the
// engine list, edited in two dialogs and handed to the decoder. Nothing
// changes while a track is open.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "vbmp3.h"

#include <QObject>

class QListWidgetItem;

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

    // The user toggled line 0 or line 6.
    void checkListBox2ClickCheck(QListWidgetItem* item);
    // A double click or Enter: the dialog of the current line's group when it is switched on.
    void checkListBox2DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bufferLineToggled(bool checked);
    void decodeLineToggled(bool checked);
    // Each dialog shows the values in force; true once "Set" sent the new ones.
    bool editBufferOptions();
    bool editDecodeOptions();
    void setLineChecked(EngineLine line, bool checked);
    void setLineText(int row, const QString& text);
    void applyBufferOptions(const BufferOptions& options);
    void applyDecodeOptions(const DecodeOptions& options);
    void showBufferOptions(const BufferOptions& options);
    void showDecodeOptions(const DecodeOptions& options);

    AreaContext context_;
};

} // namespace nuvo
