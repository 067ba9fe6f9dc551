// Editing the tag one field at a time: Indicate prepares the edit controls
// for the focused line, "Edit" writes that field into the file, "Pst" pastes
// the value last written to the field.
#pragma once

#include "app/AreaContext.h"
#include "tag/TagFields.h"

#include <QObject>

#include <limits>

namespace nuvo {

class TagView;
struct TagState;

class TagEditor : public QObject {
    Q_OBJECT
public:
    TagEditor(const AreaContext& context, TagState& own, TagView& view, QObject* parent = nullptr);

    void indicateExecute();
    void tagExecute();
    void memoryExecute();
    // Edit1Change for the tag lines, ComboBox1Change: "Edit" is enabled while the value differs.
    void edit1Change();
    void comboBox1Change();

private:
    bool editingAllowed() const;
    int focusedLine() const;
    bool write();

    AreaContext context_;
    TagState& own_;
    TagView& view_;
};

// No limit of bytes: the file name's length is checked on renaming.
inline constexpr qsizetype kAnyBytes = std::numeric_limits<qsizetype>::max();

// Edit1 shows a stored value whole even when it is longer than what may be typed.
void showInEdit1(const AreaContext& context, const QString& text, TypingLimit limit);

} // namespace nuvo
