// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the GUI thread, so a
// session end or a kill closes the window with its usual saving.
#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

namespace nuvo {

class SignalBridge : public QObject {
    Q_OBJECT
public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

    SignalBridge(const SignalBridge&) = delete;
    SignalBridge& operator=(const SignalBridge&) = delete;

signals:
    void terminationRequested();

private:
    void drain();

    std::array<int, 2> pipe_{-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace nuvo
