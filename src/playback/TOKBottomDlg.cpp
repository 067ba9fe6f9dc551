#include "playback/TOKBottomDlg.h"

#include "ui_TOKBottomDlg.h"

namespace nuvo {

TOKBottomDlg::TOKBottomDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::OKBottomDlg>())
{
    ui_->setupUi(this);
    ui_->UpDown1->setEdit(QStringLiteral("Edit1"), 4);
    ui_->UpDown2->setEdit(QStringLiteral("Edit2"), 4);
    ui_->UpDown3->setEdit(QStringLiteral("Edit3"), 4);
    ui_->UpDown4->setEdit(QStringLiteral("Edit4"), 4);
}

TOKBottomDlg::~TOKBottomDlg() = default;

void TOKBottomDlg::setOptions(const BufferOptions& options)
{
    ui_->UpDown1->setValue(options.inputFrames);
    ui_->UpDown2->setValue(options.outputFrames);
    ui_->UpDown3->setValue(options.inputSleepMs);
    ui_->UpDown4->setValue(options.outputSleepMs);
}

BufferOptions TOKBottomDlg::options() const
{
    return {ui_->UpDown1->value(), ui_->UpDown2->value(), ui_->UpDown3->value(), ui_->UpDown4->value()};
}

} // namespace nuvo
