#include "tag/TagPage.h"

#include "app/Options.h"
#include "app/PlayerState.h"
#include "tag/TagLines.h"
#include "ui_MainWindow.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>

namespace nuvo {

TagPage::TagPage(const AreaContext& context, TagState& own, QObject* parent)
    : QObject(parent),
      context_(context),
      view_(context, own, this),
      editor_(context, own, view_, this),
      renamer_(context, own, view_, this)
{
    Ui::Form1& ui = context_.ui;
    shownPage_ = ui.PageControl1->currentIndex();
    connect(ui.PageControl1, &QTabWidget::currentChanged, this, &TagPage::pageControl1Change);
    connect(ui.Indicate, &QAction::triggered, &editor_, &TagEditor::indicateExecute);
    connect(ui.Tag, &QAction::triggered, &editor_, &TagEditor::tagExecute);
    connect(ui.Memory, &QAction::triggered, &editor_, &TagEditor::memoryExecute);
    connect(ui.IndFileName, &QAction::triggered, &renamer_, &FileRenamer::indFileNameExecute);
    connect(ui.ChgFileName, &QAction::triggered, &renamer_, &FileRenamer::chgFileNameExecute);
    connect(ui.Edit1, &QLineEdit::textChanged, this, &TagPage::edit1Change);
    connect(ui.ComboBox1, &QComboBox::currentIndexChanged, &editor_, &TagEditor::comboBox1Change);
    connect(ui.Button2, &QPushButton::clicked, this, &TagPage::button2Click);
    connect(ui.Button5, &QPushButton::clicked, ui.Memory, &QAction::trigger);
    connect(ui.ListBox2, &QAbstractItemView::pressed, this, &TagPage::listBox2MouseDown);
    ui.ListBox2->installEventFilter(this);
    // Enter on a focused button presses it, so a paste and a second Enter write.
    ui.Button2->setAutoDefault(true);
    ui.Button5->setAutoDefault(true);
}

void TagPage::prepare()
{
    context_.ui.ComboBox1->view()->setMinimumWidth(168);
}

bool TagPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == context_.ui.ListBox2) {
        if (event->type() == QEvent::FocusIn) {
            // Focus coming back with the window or from a menu is no entering of the list.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                listBox2Enter();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                listBox2KeyDown();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void TagPage::pageControl1Change(int index)
{
    // Leaving the page drops its lines and any unwritten change first.
    if (shownPage_ == kTagEditPage)
        view_.clear();
    shownPage_ = index;
    if (index == kTagEditPage)
        view_.showTagInfo();
    context_.ui.PageControl1->setFocus();
}

void TagPage::listBox2Enter()
{
    view_.resetEditControls();
}

bool TagPage::fileNameLineFocused() const
{
    return context_.ui.ListBox2->currentRow() == kFileNameLine;
}

void TagPage::listBox2MouseDown()
{
    if (QGuiApplication::mouseButtons() & Qt::LeftButton)
        indicateFocusedLine();
}

void TagPage::listBox2KeyDown()
{
    indicateFocusedLine();
}

void TagPage::indicateFocusedLine()
{
    (fileNameLineFocused() ? context_.ui.IndFileName : context_.ui.Indicate)->trigger();
}

void TagPage::button2Click()
{
    (fileNameLineFocused() ? context_.ui.ChgFileName : context_.ui.Tag)->trigger();
}

void TagPage::edit1Change()
{
    if (fileNameLineFocused())
        renamer_.edit1Change();
    else
        editor_.edit1Change();
}

} // namespace nuvo
