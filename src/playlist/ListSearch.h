// Searching the playlist for a text; for now its share of start-up and
// close: the search text.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>

namespace nuvo {


class ListSearch : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    explicit ListSearch(const AreaContext& context, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;

private:
    AreaContext context_;
};

} // namespace nuvo
