// The TagEdit page: the tag and stream information of a track, editing its
// tag one field at a time and renaming its file. This class routes the
// page's events; the view, the editor and the renamer do the work.
#pragma once

#include "app/AreaContext.h"
#include "tag/FileRenamer.h"
#include "tag/TagEditor.h"
#include "tag/TagView.h"

#include <QObject>

namespace nuvo {

struct TagState;

class TagPage : public QObject {
    Q_OBJECT
public:
    TagPage(const AreaContext& context, TagState& own, QObject* parent = nullptr);

    // The first show's share: the genre box's drop-down gets its designed width.
    void prepare();

    void showTagInfo() { view_.showTagInfo(); }

    void pageControl1Change(int index);
    void listBox2Enter();
    void listBox2MouseDown();
    void listBox2KeyDown();
    void button2Click();
    void edit1Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fileNameLineFocused() const;
    void indicateFocusedLine();

    AreaContext context_;
    TagView view_;
    TagEditor editor_;
    FileRenamer renamer_;
    int shownPage_ = 0;
};

} // namespace nuvo
