#include "tag/TagEditor.h"

#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/PathRules.h"
#include "tag/ByteLimit.h"
#include "tag/TagView.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QFile>
#include <QSignalBlocker>

#include <algorithm>

namespace nuvo {

TagEditor::TagEditor(const AreaContext& context, TagState& own, TagView& view, QObject* parent)
    : QObject(parent), context_(context), own_(own), view_(view)
{
}

int TagEditor::focusedLine() const
{
    return context_.ui.ListBox2->currentRow();
}

bool TagEditor::editingAllowed() const
{
    const QListWidget& lines = *context_.ui.ListBox2;
    return tagsEditable(own_.tagFileType) && lines.count() > 0 && !lines.selectedItems().isEmpty();
}

void showInEdit1(const AreaContext& context, const QString& text, TypingLimit limit)
{
    QLineEdit& edit = *context.ui.Edit1;
    const QSignalBlocker quiet(&edit);
    // The limit holds for what is typed; a longer stored value is not cut.
    edit.setMaxLength(std::max(limit.characters, static_cast<int>(text.size())));
    ByteLimit::set(edit, std::max(limit.bytes, text.toUtf8().size()));
    edit.setText(text);
}

void TagEditor::indicateExecute()
{
    if (!editingAllowed())
        return;
    Ui::Form1& ui = context_.ui;
    const std::optional<TagField> field = tagFieldOfLine(focusedLine());
    const bool genre = field == TagField::Genre;
    const bool text = field && !genre;
    {
        const QSignalBlocker quietGenre(ui.ComboBox1);
        ui.ComboBox1->setCurrentIndex(genre ? genreIndexOf(own_.record.genre) : -1);
    }
    showInEdit1(context_, text ? fieldText(own_.record, *field) : QString(),
                text ? typingLimit(*field) : TypingLimit{ui.Edit1->maxLength(), kAnyBytes});
    ui.Edit1->setEnabled(text);
    ui.ComboBox1->setEnabled(genre);
    ui.Button2->setEnabled(false);
    ui.Button5->setEnabled(text ? !own_.memo.text(*field).isEmpty() : genre && own_.memo.genre != -1);
    if (text)
        ui.Edit1->setFocus();
    else if (genre)
        ui.ComboBox1->setFocus();
}

void TagEditor::edit1Change()
{
    const std::optional<TagField> field = tagFieldOfLine(focusedLine());
    const bool textField = field && *field != TagField::Genre;
    context_.ui.Button2->setEnabled(textField && context_.ui.Edit1->text() != fieldText(own_.record, *field));
}

void TagEditor::comboBox1Change()
{
    context_.ui.Button2->setEnabled(context_.ui.ComboBox1->currentIndex() != genreIndexOf(own_.record.genre));
}

void TagEditor::memoryExecute()
{
    Ui::Form1& ui = context_.ui;
    const std::optional<TagField> field = tagFieldOfLine(focusedLine());
    // "Pst" is enabled only where Indicate found a value to paste.
    if (!field || !ui.Button5->isEnabled())
        return;
    if (*field == TagField::Genre) {
        {
            const QSignalBlocker quietGenre(ui.ComboBox1);
            ui.ComboBox1->setCurrentIndex(genreIndexOf(own_.memo.genre));
        }
        comboBox1Change();
    } else {
        showInEdit1(context_, own_.memo.text(*field), typingLimit(*field));
        edit1Change();
    }
    if (ui.Button2->isEnabled())
        ui.Button2->setFocus();
}

void TagEditor::tagExecute()
{
    if (!editingAllowed() || !tagFieldOfLine(focusedLine()))
        return;
    // A write goes only to the file whose record the view holds, read the way
    // the play state and the selection still choose; otherwise that record
    // would land in another file. The view is brought up to date instead.
    if (!view_.showsTheChosenTrack()) {
        view_.showTagInfo();
        return;
    }
    const bool written = write();
    view_.showTagInfo();
    if (!written && !tellUser(context_, QStringLiteral("The tag could not be written to \"%1\".")
                                            .arg(own_.shownFileName)))
        return;
    context_.ui.ListBox2->setFocus();
}

bool TagEditor::write()
{
    const TagField field = *tagFieldOfLine(focusedLine());
    TagRecord record = own_.record;
    if (field == TagField::Genre)
        record.genre = context_.ui.ComboBox1->currentIndex();
    else
        setFieldText(record, field, context_.ui.Edit1->text());
    const ShownTrack target = *own_.shown;
    const QByteArray nativePath = QFile::encodeName(target.path);
    if (!context_.decoder.setTagInfo(nativePath.constData(), &record, target.choice.openedFile ? 1 : 0, 1))
        return false;
    own_.record = record;
    if (field == TagField::Genre)
        own_.memo.genre = record.genre;
    else
        own_.memo.text(field) = fieldText(record, field);
    if (target.choice.openedFile)
        context_.steps.openTrackTagWritten(textOfField(record.title, sizeof record.title));
    return true;
}

} // namespace nuvo
