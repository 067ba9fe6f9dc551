#include "tag/TagPage.h"

#include "app/PlayerState.h"
#include "ui_MainWindow.h"

#include <QAbstractItemView>

namespace nuvo {

TagPage::TagPage(const AreaContext& context, TagState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
}

void TagPage::prepare()
{
    context_.ui.ComboBox1->view()->setMinimumWidth(168);
}

} // namespace nuvo
