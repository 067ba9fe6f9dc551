// Searching the playlist for a text; for now its share of start-up and
// close: the search text.
#pragma once

#include "app/AreaContext.h"

#include <QObject>

namespace nuvo {

struct Settings;

class ListSearch : public QObject {
    Q_OBJECT
public:
    explicit ListSearch(const AreaContext& context, QObject* parent = nullptr);

    void restore(const Settings& settings);
    void collect(Settings& settings) const;

private:
    AreaContext context_;
};

} // namespace nuvo
