#include "desktop/SignalBridge.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nuvo {

namespace {

// The write end for the handler; a signal handler may only write to a descriptor.
volatile std::sig_atomic_t gWriteEnd = -1;

void onSignal(int)
{
    const char byte = 1;
    if (gWriteEnd >= 0)
        [[maybe_unused]] ssize_t written = ::write(gWriteEnd, &byte, 1);
}

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipe_.data()) != 0)
        return;
    gWriteEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::drain);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

SignalBridge::~SignalBridge()
{
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    gWriteEnd = -1;
    for (int fd : pipe_) {
        if (fd >= 0)
            ::close(fd);
    }
}

void SignalBridge::drain()
{
    char buffer[64];
    while (::read(pipe_[0], buffer, sizeof buffer) > 0) {
    }
    emit terminationRequested();
}

} // namespace nuvo
