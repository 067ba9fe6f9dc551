#include "WindowTest.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

namespace nuvo::test {

QRgb windowPixel(const QImage& picture, int x, int y)
{
    const DevicePixels device(picture);
    const QRgb color = picture.pixel(device.first(x), device.first(y));
    for (int dy = device.first(y); dy < device.first(y + 1); ++dy)
        for (int dx = device.first(x); dx < device.first(x + 1); ++dx)
            if (picture.pixel(dx, dy) != color)
                return kMixedPixel;
    return color;
}

void WindowTest::SetUp()
{
    ASSERT_TRUE(home_.isValid());
    qputenv("NUVO_HOME", home_.path().toLocal8Bit());
    fake_ = &FakeDecoder::reset();
    installDialogs(&dialogs_);
}

void WindowTest::TearDown()
{
    if (window_)
        closeWindow();
    installDialogs(nullptr);
}

MainWindow& WindowTest::start(const QStringList& arguments)
{
    DecoderBinding decoder;
    decoder.api = FakeDecoder::api();
    decoder.loaded = true;
    return startWith(std::move(decoder), arguments);
}

MainWindow& WindowTest::startWith(DecoderBinding decoder, const QStringList& arguments)
{
    window_ = std::make_unique<MainWindow>(std::move(decoder),
                                           StartupContext{home_.path(), arguments, home_.path()});
    window_->show();
    return *window_;
}

void WindowTest::closeWindow()
{
    window_->close();
    window_.reset();
}

QString WindowTest::homePath(const QString& name) const
{
    return QDir(home_.path()).filePath(name);
}

void WindowTest::writeHomeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(homePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray WindowTest::readHomeFile(const QString& name) const
{
    QFile file(homePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WindowTest::addTrack(const QString& name, FakeTrack track)
{
    const QString path = homePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    fake_->tracks[path.toStdString()] = std::move(track);
    return path;
}

QString WindowTest::addBrokenTrack(const QString& name)
{
    const QString path = homePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return path;
}

void WindowTest::writePlaylist(const QStringList& paths) const
{
    QByteArray bytes;
    for (const QString& path : paths)
        bytes += path.toUtf8() + "\r\n";
    writeHomeFile(QStringLiteral("List.m3u"), bytes);
}

QAction* WindowTest::action(const char* name) const
{
    auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QLabel* WindowTest::label(const char* name) const
{
    auto* found = window_->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QListView* WindowTest::playlistView() const
{
    return window_->findChild<QListView*>(QStringLiteral("ListBox1"));
}

void WindowTest::setOption(Option option, bool checked)
{
    auto* options = window_->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
    options->item(static_cast<int>(option))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void WindowTest::selectRow(int row)
{
    QListView* view = playlistView();
    view->selectionModel()->setCurrentIndex(view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

QWidget* WindowTest::focusPageControl()
{
    QApplication::setActiveWindow(window_.get());
    auto* pages = window_->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setFocus();
    EXPECT_TRUE(pages->hasFocus());
    return pages->tabBar();
}

void WindowTest::sendKey(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                         bool autoRepeat)
{
    const QString text = key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde && !(modifiers & Qt::ControlModifier)
                             ? QString(QChar(key)).toLower()
                             : QString();
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void WindowTest::typeKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers)
{
    sendKey(target, QEvent::KeyPress, key, modifiers);
    sendKey(target, QEvent::KeyRelease, key, modifiers);
}

bool WindowTest::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace nuvo::test
