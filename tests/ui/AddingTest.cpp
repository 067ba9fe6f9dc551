#include "AddingTest.h"

#include "playlist/LongScan.h"

#include <QApplication>
#include <QMimeData>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

namespace nuvo::test {

void AddingTest::SetUp()
{
    WindowTest::SetUp();
    // The small folders of these tests are scanned long before; a busy machine must not make
    // the progress window appear where a test does not expect it.
    setScanProgressDelay(std::chrono::seconds(30));
}

void AddingTest::TearDown()
{
    WindowTest::TearDown();
    setScanProgressDelay(std::chrono::milliseconds(500));
}

QStringList AddingTest::entries() const
{
    QStringList paths;
    const QAbstractItemModel* model = playlistView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        paths << model->index(row, 0).data().toString();
    return paths;
}

bool AddingTest::drop(const QList<QUrl>& urls, QWidget* target)
{
    // As file managers offer it: the URLs, and their text for editors.
    QMimeData data;
    data.setUrls(urls);
    QStringList text;
    for (const QUrl& url : urls)
        text << url.toString();
    data.setText(text.join(u'\n'));
    QWindow* window = window_->windowHandle();
    const QPoint at = target->mapTo(window_.get(), target->rect().center());
    const QPlatformDragQtResponse entered = QWindowSystemInterface::handleDrag(
        window, &data, at, Qt::CopyAction | Qt::MoveAction, Qt::LeftButton, Qt::NoModifier);
    if (!entered.isAccepted()) {
        QWindowSystemInterface::handleDrag(window, nullptr, at, Qt::IgnoreAction, Qt::NoButton, Qt::NoModifier);
        return false;
    }
    // The drop comes with the button's release; the application keeps no button pressed after it.
    const QPlatformDropQtResponse dropped = QWindowSystemInterface::handleDrop(
        window, &data, at, Qt::CopyAction | Qt::MoveAction, Qt::NoButton, Qt::NoModifier);
    QApplication::processEvents();
    return dropped.isAccepted() && dropped.acceptedAction() == Qt::CopyAction;
}

bool AddingTest::dropFiles(const QStringList& paths, QWidget* target)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    return drop(urls, target);
}

} // namespace nuvo::test
