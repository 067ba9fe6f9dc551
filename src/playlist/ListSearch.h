// Searching the playlist: the search box walks through the entries whose
// path holds its text, "SearchOpened" goes to the open track's entry. The
// search text is kept from run to run.
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

    void edit2Change();
    void searchExecute();
    void openSearchExecute();

private:
    AreaContext context_;
};

} // namespace nuvo
