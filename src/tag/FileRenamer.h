// Renaming the shown track's file from the view's file-name line: the name
// without its extension is edited in Edit1, "Edit" renames the file in its
// directory with its extension kept, and the playlist entry follows.
#pragma once

#include "app/AreaContext.h"

#include <QObject>
#include <QString>

#include <optional>

namespace nuvo {

class TagView;
struct TagState;

class FileRenamer : public QObject {
    Q_OBJECT
public:
    FileRenamer(const AreaContext& context, const TagState& tag, TagView& view, QObject* parent = nullptr);

    void indFileNameExecute();
    void chgFileNameExecute();
    // Edit1Change on the file-name line: "Edit" is enabled for a new, non-empty name.
    void edit1Change();

private:
    // The file the file-name line was indicated for.
    struct Target {
        int row = -1;
        QString path;
        QString stem;   // the name without its extension, as Edit1 started
    };

    std::optional<int> renamableRow() const;
    bool stillRenamable(const Target& target) const;
    void rename(const Target& target);

    AreaContext context_;
    const TagState& tag_;
    TagView& view_;
    std::optional<Target> target_;
};

} // namespace nuvo
