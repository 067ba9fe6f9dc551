// Window tests of adding tracks and list files: the playlist's entries, and
// drops delivered the way the window system delivers them.
#pragma once

#include "WindowTest.h"

#include <QUrl>

namespace nuvo::test {

class AddingTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QStringList entries() const;
    // Drags the URLs onto the widget's centre and drops them there; true when the window took them.
    bool drop(const QList<QUrl>& urls, QWidget* target);
    bool dropFiles(const QStringList& paths, QWidget* target);
    FileDialogAnswer files(const QStringList& paths, const QString& filter = {}) const { return {paths, filter}; }
};

} // namespace nuvo::test
