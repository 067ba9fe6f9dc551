#include "app/MainWindow.h"

#include "app/AreaContext.h"
#include "app/Availability.h"
#include "app/KeyCommands.h"
#include "app/Lifecycle.h"
#include "app/MprisPlayer.h"
#include "app/OptionPage.h"
#include "app/PlayerState.h"
#include "app/ProgramFiles.h"
#include "app/TrayHotKey.h"
#include "app/WindowFont.h"
#include "app/WindowSteps.h"
#include "equalizer/EqualizerPage.h"
#include "equalizer/Presets.h"
#include "playback/DecoderLibrary.h"
#include "playback/EnginePage.h"
#include "playback/Playback.h"
#include "playback/RandomIndex.h"
#include "playlist/Favourites.h"
#include "playlist/ListAdding.h"
#include "playlist/ListEditing.h"
#include "playlist/ListFiles.h"
#include "playlist/ListSearch.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PlaylistView.h"
#include "resources/Glyphs.h"
#include "tag/TagPage.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QProxyStyle>
#include <QToolButton>

namespace nuvo {

namespace {

// The tool bar's own metrics: one pixel round the buttons and none between
// them, so every button and the volume fit the 300-pixel window at the
// designed height of 24. A style of its own rather than a style sheet, which
// would hide the volume label's hover colour.
class ToolBarStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ToolBarItemMargin:
        case PM_ToolBarItemSpacing:
            return 0;
        case PM_ToolBarFrameWidth:
            return 1;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

} // namespace

DecoderBinding::DecoderBinding() = default;
DecoderBinding::DecoderBinding(DecoderBinding&&) noexcept = default;
DecoderBinding& DecoderBinding::operator=(DecoderBinding&&) noexcept = default;
DecoderBinding::~DecoderBinding() = default;

// The area objects, in the order they are built: an area may use those above it.
struct MainWindow::Areas {
    Areas(MainWindow& window, Ui::Form1& ui, PlayerState& state, WindowSteps& steps)
        : availability(ui, *window.playlist_, state, steps),
          context{window, ui, window.decoder_.api, *window.playlist_, random, state, steps, availability},
          playlistView(context),
          listFiles(context, state.list),
          listAdding(context),
          listSearch(context),
          listEditing(context),
          playback(context, state.playback),
          options(context, state.options),
          engine(context),
          equalizer(context, state.equalizer),
          presets(context, equalizer, QDir(window.context_.programDirectory).filePath(QLatin1String(kPresetFile))),
          tagPage(context, state.tag),
          trayHotKey(context, state.tray),
          keyCommands(context, playback, equalizer),
          favourites(context, window.context_.programDirectory),
          mpris(context, playback, options, trayHotKey, listFiles),
          lifecycle(context, window.decoder_, window.context_,
                    {playlistView, listFiles, listAdding, listSearch, playback, options, engine, equalizer, presets,
                     tagPage, trayHotKey, favourites, mpris})
    {
    }

    RandomGenerator random;
    Availability availability;
    AreaContext context;
    PlaylistView playlistView;
    ListFiles listFiles;
    ListAdding listAdding;
    ListSearch listSearch;
    ListEditing listEditing;
    Playback playback;
    OptionPage options;
    EnginePage engine;
    EqualizerPage equalizer;
    Presets presets;
    TagPage tagPage;
    TrayHotKey trayHotKey;
    KeyCommands keyCommands;
    Favourites favourites;
    MprisPlayer mpris;
    Lifecycle lifecycle;
};

// The shared steps, each handed to the area that owns it. The areas are
// built with the router, so it learns of them right after.
class MainWindow::StepRouter final : public WindowSteps {
public:
    void attach(Areas& areas) { areas_ = &areas; }

    void startWithFallThrough(Direction direction) override { areas_->playback.startWithFallThrough(direction); }
    void resetToClosed() override { areas_->playback.resetToClosed(); }
    void openTrackTagWritten(const QString& title) override { areas_->playback.openTrackTagWritten(title); }
    void releaseCurrentTrack() override { areas_->playback.releaseCurrentTrack(); }
    void resetClosedDisplay() override { areas_->playback.resetClosedDisplay(); }
    void showProgress() override { areas_->playback.timer().showProgress(); }
    void clearProgress() override { areas_->playback.timer().clearProgress(); }
    void playFirstAdded() override { areas_->listAdding.playFirstAdded(); }
    void showCount() override { areas_->playlistView.showCount(); }
    void focusEntry(int index) override { areas_->playlistView.focusEntry(index); }
    void bindListFile(const QString& path) override { areas_->listFiles.bindListFile(path); }
    void markListChanged() override { areas_->listFiles.markListChanged(); }
    void clearAll() override { areas_->listEditing.clearExecute(); }
    void unbindListFile() override { areas_->listFiles.unbindListFile(); }
    void addFavoriteList(const QString& path) override { areas_->favourites.addFavoriteList(path); }
    void refreshAfterAdd(bool bound) override { areas_->availability.refreshAfterAdd(bound); }
    void refreshAfterRemove() override { areas_->availability.refreshAfterRemove(); }
    void refreshSelectionCommands() override { areas_->availability.refreshSelectionCommands(); }
    void showTagInfo() override { areas_->tagPage.showTagInfo(); }
    void updateTrayTip() override { areas_->trayHotKey.updateTrayTip(); }
    void applyEqualizer() override { areas_->equalizer.applyEqualizer(); }
    void setEqualizerSwitchEnabled(bool enabled) override { areas_->equalizer.setSwitchEnabled(enabled); }
    void setDecoderSettingEnabled(bool enabled) override { areas_->engine.setDecoderSettingEnabled(enabled); }
    void announcePlayerChange() override { areas_->mpris.announceChange(); }
    void announceSeeked() override { areas_->mpris.announceSeeked(); }
    bool windowClosed() const override { return areas_->lifecycle.closed(); }

private:
    Areas* areas_ = nullptr;
};

MainWindow::MainWindow(DecoderBinding decoder, StartupContext context, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::Form1>()),
      decoder_(std::move(decoder)),
      context_(std::move(context)),
      state_(std::make_unique<PlayerState>()),
      steps_(std::make_unique<StepRouter>())
{
    ui_->setupUi(this);
    applyWindowFont(*this);
    setWindowIcon(programIcon());
    // Five tabs have to fit the designed width.
    ui_->PageControl1->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 2px 5px; margin-right: 1px; border: 1px solid palette(mid);"
        " background: palette(button); }"
        "QTabBar::tab:selected { background: palette(window); }"));

    buildToolBar();
    buildStatusBar();
    // Dropped files are the window's: an edit or a combo box must not take a path as its text.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->window() == this)
            child->setAcceptDrops(false);
    }
    setAcceptDrops(true);
    playlist_ = new PlaylistModel(this);
    areas_ = std::make_unique<Areas>(*this, *ui_, *state_, *steps_);
    steps_->attach(*areas_);
    connect(ui_->Quit, &QAction::triggered, this, &QWidget::close);
    ui_->Image2->installEventFilter(this);

    areas_->lifecycle.formCreate();
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
    auto* style = new ToolBarStyle;
    style->setParent(ui_->ToolBar1);
    ui_->ToolBar1->setStyle(style);
    ui_->ToolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_->ToolBar1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ui_->PopupMenu1->popup(ui_->ToolBar1->mapToGlobal(at));
    });
}

void MainWindow::buildStatusBar()
{
    // Play state, bit rate, time and list file, left to right; the list file takes the rest of the bar.
    for (QLabel* panel : {ui_->StatusPanel0, ui_->StatusPanel1, ui_->StatusPanel2})
        ui_->StatusBar1->addWidget(panel);
    ui_->StatusBar1->addWidget(ui_->StatusPanel3, 1);
}

int MainWindow::currentIndex() const
{
    return playlist_->currentIndex();
}

int MainWindow::playState() const
{
    return state_->playback.playState;
}

const QString& MainWindow::applicationTitle() const
{
    return state_->playback.applicationTitle;
}

QString MainWindow::statusText(int panel) const
{
    const QLabel* panels[] = {ui_->StatusPanel0, ui_->StatusPanel1, ui_->StatusPanel2, ui_->StatusPanel3};
    return panels[panel]->text();
}

bool MainWindow::isOptionChecked(Option option) const
{
    return nuvo::isOptionChecked(*ui_, option);
}

EqualizerPage& MainWindow::equalizerPage() const
{
    return areas_->equalizer;
}

void MainWindow::closeForSession()
{
    areas_->lifecycle.setCloseRequest(CloseRequest::Session);
    close();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    areas_->lifecycle.windowShown();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        areas_->lifecycle.windowActivated();
    if (event->type() == QEvent::WindowStateChange)
        areas_->trayHotKey.windowStateChanged();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    areas_->lifecycle.windowClosing();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    areas_->listAdding.dragEnter(*event);
}

void MainWindow::dropEvent(QDropEvent* event)
{
    areas_->listAdding.drop(*event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->Image2 && event->type() == QEvent::Resize)
        areas_->playback.timer().repaintProgress();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace nuvo
