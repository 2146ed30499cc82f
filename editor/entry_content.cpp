#include "editor/entry_content.h"

#include "editor/rich_editor.h"
#include "store/entry_codec.h"

namespace quillmere {

QByteArray StoreEditorContent(const RichEditor& editor) {
    return EncodeEntryContent(editor.saveRtf());
}

void ShowEntryRtf(RichEditor& editor, const QByteArray& rtf) {
    editor.loadEntryRtf(rtf);
    editor.moveCaretToStart();
    editor.ensureCursorVisible();
    editor.setModified(false);
}

void LoadEditorContent(RichEditor& editor, const QByteArray& blob) {
    ShowEntryRtf(editor, DecodeEntryContent(blob));
}

}  // namespace quillmere
