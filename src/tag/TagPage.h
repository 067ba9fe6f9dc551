// The TagEdit page: the tag and stream information of a track.
#pragma once

#include "app/AreaContext.h"

#include <QObject>

namespace nuvo {

struct TagState;

class TagPage : public QObject {
    Q_OBJECT
public:
    TagPage(const AreaContext& context, TagState& own, QObject* parent = nullptr);

    // The first show's share: the genre box's drop-down gets its designed width.
    void prepare();

private:
    AreaContext context_;
    TagState& own_;
};

} // namespace nuvo
