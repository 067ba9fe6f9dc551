// The Engine page's dialog of the decoder's buffers and sleep times:
// frame buffers and sleep times of the input and the output, 0 to 1000 each.
#pragma once

#include "vbmp3.h"

#include <QDialog>

#include <memory>

namespace Ui {
class OKBottomDlg;
}

namespace nuvo {

class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget* parent = nullptr);
    ~TOKBottomDlg() override;

    void setOptions(const BufferOptions& options);
    BufferOptions options() const;

private:
    std::unique_ptr<Ui::OKBottomDlg> ui_;
};

} // namespace nuvo
