// The Engine page's dialog of the decoder's output format: down-sampling,
// output channels and the output sample rate (0 to 30000 Hz).
#pragma once

#include "vbmp3.h"

#include <QDialog>

#include <memory>

namespace Ui {
class OKBottomDlg1;
}

namespace nuvo {

class TOKBottomDlg1 : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg1(QWidget* parent = nullptr);
    ~TOKBottomDlg1() override;

    void setOptions(const DecodeOptions& options);
    DecodeOptions options() const;

private:
    std::unique_ptr<Ui::OKBottomDlg1> ui_;
};

} // namespace nuvo
