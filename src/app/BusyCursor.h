// The busy cursor for one scope: work that keeps the window from answering
// for a moment shows it, and the cursor comes back however the scope ends.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace nuvo {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace nuvo
