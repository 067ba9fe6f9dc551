// The tag view: the lines of the file the play state and the playlist's
// selection choose, the records they were read from, and the reset of the
// edit controls above them.
#pragma once

#include "app/AreaContext.h"
#include "tag/TrackChoice.h"

#include <QObject>

#include <optional>

namespace nuvo {

struct TagState;

class TagView : public QObject {
    Q_OBJECT
public:
    TagView(const AreaContext& context, TagState& own, QObject* parent = nullptr);

    // Reads the chosen file's records and rebuilds the sixteen lines.
    void showTagInfo();
    // Empties the view (the page is left).
    void clear();
    // Edit1 and the genre box emptied and disabled, "Edit" and "Pst" disabled.
    void resetEditControls();

    // The situation the choice of file depends on, as it is now.
    PlaySituation situationNow() const;
    // True while the entry the view read is still the one the play state and
    // the selection choose, read the same way: only then may it be written.
    bool showsTheChosenTrack() const;

private:
    AreaContext context_;
    TagState& own_;
};

// Says an error in words; false when the window closed while the message was up.
bool tellUser(const AreaContext& context, const QString& message);

} // namespace nuvo
