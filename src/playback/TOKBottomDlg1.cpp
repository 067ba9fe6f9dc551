#include "playback/TOKBottomDlg1.h"

#include "ui_TOKBottomDlg1.h"

namespace nuvo {

namespace {

// A drop-down list always shows one of its entries: a value it has no entry
// for shows the first.
void selectEntry(QComboBox& box, int index)
{
    box.setCurrentIndex(index >= 0 && index < box.count() ? index : 0);
}

} // namespace

TOKBottomDlg1::TOKBottomDlg1(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::OKBottomDlg1>())
{
    ui_->setupUi(this);
    ui_->UpDown1->setEdit(QStringLiteral("Edit1"), 5);
}

TOKBottomDlg1::~TOKBottomDlg1() = default;

void TOKBottomDlg1::setOptions(const DecodeOptions& options)
{
    selectEntry(*ui_->ComboBox1, options.downSampling);
    selectEntry(*ui_->ComboBox2, options.channels);
    ui_->UpDown1->setValue(options.frequencyLimit);
}

DecodeOptions TOKBottomDlg1::options() const
{
    return {ui_->ComboBox1->currentIndex(), ui_->ComboBox2->currentIndex(), ui_->UpDown1->value()};
}

} // namespace nuvo
