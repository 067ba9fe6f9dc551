#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QtMessageHandler gStandardHandler = nullptr;

// The offscreen platform warns about what it cannot do; that is no failure.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support")))
        return;
    if (gStandardHandler)
        gStandardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // Window tests run without a display and without a sound card.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor on the user's session bus: the desktop's media keys stay with the user's own player.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/nuvo-tests");
    gStandardHandler = qInstallMessageHandler(quietOffscreenWarnings);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
