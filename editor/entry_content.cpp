#include "editor/entry_content.h"

#include "editor/rich_editor.h"
#include "store/entry_codec.h"

namespace quillmere {

QByteArray StoreEditorContent(const RichEditor& editor) {
    return EncodeEntryContent(editor.saveRtf());
}

void LoadEditorContent(RichEditor& editor, const QByteArray& blob) {
    const QByteArray rtf = DecodeEntryContent(blob);
    editor.loadEntryRtf(rtf);
    editor.moveCaretToStart();
    editor.setModified(false);
}

}  // namespace quillmere
