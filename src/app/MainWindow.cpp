#include "app/MainWindow.h"

#include "playback/DecoderLibrary.h"
#include "playlist/PlaylistDelegate.h"
#include "playlist/PlaylistModel.h"
#include "resources/Glyphs.h"
#include "ui_MainWindow.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QTimer>
#include <QToolButton>

namespace nuvo {

DecoderBinding::DecoderBinding() = default;
DecoderBinding::DecoderBinding(DecoderBinding&&) noexcept = default;
DecoderBinding& DecoderBinding::operator=(DecoderBinding&&) noexcept = default;
DecoderBinding::~DecoderBinding() = default;

MainWindow::MainWindow(DecoderBinding decoder, StartupContext context, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::Form1>()),
      decoder_(std::move(decoder)),
      context_(std::move(context)),
      applicationTitle_(QStringLiteral("Nuvo"))
{
    ui_->setupUi(this);
    // The window is laid out for the desktop's sans-serif at 12 pixels.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    setFont(font);
    setWindowIcon(windowIcon());
    // Five tabs have to fit the designed width.
    ui_->PageControl1->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 2px 5px; margin-right: 1px; border: 1px solid palette(mid);"
        " background: palette(button); }"
        "QTabBar::tab:selected { background: palette(window); }"));

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::timer1Timer);

    buildToolBar();
    buildStatusBar();
    buildPlaylistView();
    connectActions();
    ui_->Image2->installEventFilter(this);

    formCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolBar()
{
    struct Binding {
        QToolButton* button;
        QAction* action;
        Glyph glyph;
        QMenu* dropDown;
    };
    const Binding bindings[] = {
        {ui_->ToolButton7, ui_->FileOpen, Glyph::Open, ui_->PopupMenu1},
        {ui_->ToolButton1, ui_->Previous, Glyph::Previous, nullptr},
        {ui_->ToolButton2, ui_->Play, Glyph::Play, nullptr},
        {ui_->ToolButton3, ui_->Pause, Glyph::Pause, nullptr},
        {ui_->ToolButton4, ui_->Stop, Glyph::Stop, nullptr},
        {ui_->ToolButton5, ui_->Next, Glyph::Next, nullptr},
        {ui_->ToolButton9, ui_->Up, Glyph::MoveUp, nullptr},
        {ui_->ToolButton10, ui_->Down, Glyph::MoveDown, nullptr},
        {ui_->ToolButton12, ui_->Clear, Glyph::ClearAll, ui_->PopupMenu2},
    };
    for (const Binding& b : bindings) {
        b.action->setIcon(glyphIcon(b.glyph));
        b.action->setIconVisibleInMenu(false);
        b.button->setDefaultAction(b.action);
        if (b.dropDown)
            b.button->setMenu(b.dropDown);
    }
    // Flat and tight, so every button and the volume fit the 300 pixel window.
    ui_->ToolBar1->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; border: 0px; padding: 0px 0px 0px 2px; }"));
    ui_->ToolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_->ToolBar1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ui_->PopupMenu1->popup(ui_->ToolBar1->mapToGlobal(at));
    });
}

void MainWindow::buildStatusBar()
{
    // Play state, bit rate, time and list file, left to right.
    statusPanels_ = {ui_->StatusPanel0, ui_->StatusPanel1, ui_->StatusPanel2, ui_->StatusPanel3};
    for (QLabel* panel : statusPanels_)
        ui_->StatusBar1->addWidget(panel);
}

void MainWindow::buildPlaylistView()
{
    playlist_ = new PlaylistModel(this);
    playlistDelegate_ = new PlaylistDelegate(*playlist_, this);
    QListView* view = ui_->ListBox1;
    view->setModel(playlist_);
    view->setItemDelegate(playlistDelegate_);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
        ui_->PopupMenu2->popup(view->viewport()->mapToGlobal(at));
    });
    connect(view, &QAbstractItemView::doubleClicked, this, &MainWindow::listBox1DblClick);
    view->installEventFilter(this);

    // The selection commands follow every change of the list and its selection.
    QItemSelectionModel* selection = view->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, &MainWindow::refreshSelectionCommands);
    connect(selection, &QItemSelectionModel::currentChanged, this, &MainWindow::refreshSelectionCommands);
    connect(playlist_, &QAbstractItemModel::rowsInserted, this, &MainWindow::refreshSelectionCommands);
    connect(playlist_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::refreshSelectionCommands);
    connect(playlist_, &QAbstractItemModel::modelReset, this, &MainWindow::refreshSelectionCommands);
}

void MainWindow::connectActions()
{
    connect(ui_->Play, &QAction::triggered, this, &MainWindow::playExecute);
    connect(ui_->Pause, &QAction::triggered, this, &MainWindow::pauseExecute);
    connect(ui_->Stop, &QAction::triggered, this, &MainWindow::stopExecute);
    connect(ui_->Previous, &QAction::triggered, this, &MainWindow::previousExecute);
    connect(ui_->Next, &QAction::triggered, this, &MainWindow::nextExecute);
    connect(ui_->Quit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->CheckBox1, &QAbstractButton::clicked, this, &MainWindow::onOffExecute);
}

int MainWindow::currentIndex() const
{
    return playlist_->currentIndex();
}

QString MainWindow::statusText(int panel) const
{
    return statusPanels_.at(static_cast<std::size_t>(panel))->text();
}

void MainWindow::setStatusText(int panel, const QString& text)
{
    statusPanels_.at(static_cast<std::size_t>(panel))->setText(text);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->Image2 && event->type() == QEvent::Resize) {
        formResize();
    } else if (watched == ui_->ListBox1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && hasSelection()) {
            listBox1DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace nuvo
