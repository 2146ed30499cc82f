// Inserting from the character map into the entry editor: the map opens
// with the face of the editor's selection; on OK the text it put on the
// clipboard is pasted at the selection in the insertion font, the map's face
// in regular style at the selection's size and text colour.
//
// The user's selection is replaced by the text; with no selection the text
// goes in at the caret and nothing else is removed. Clearing the selection
// and the paste are one undo step.
#pragma once

#include <QTextCharFormat>

#include <functional>

namespace quillmere {

class RichEditor;
class TDLLForm;

// The format the inserted text takes: face and character set of the map's
// grid font, no bold, italic, underline or strike-out, the point size of
// `editor`'s selection and its text colour (automatic stays automatic).
QTextCharFormat CharMapInsertionFormat(const RichEditor& editor, const TDLLForm& map);

// Replaces the editor's selection (or inserts at the caret) with the
// clipboard's text in `format` merged over the format at the caret; a text
// colour or character set that `format` lacks is cleared (automatic colour,
// ANSI set). Gives the editor the focus. Nothing happens when the clipboard
// holds no text.
void PasteInFormat(RichEditor& editor, const QTextCharFormat& format);

// The whole command: chooses the selection's face in the map (when it is
// listed), runs `showModal` (the map's exec() when empty) and, when it ends
// with OK and text to insert, pastes it in the insertion format. Returns true
// when text was inserted. Cancelled or with nothing to insert, the editor and
// the clipboard are left as they were.
bool InsertFromCharacterMap(RichEditor& editor, TDLLForm& map,
                            const std::function<int(TDLLForm&)>& showModal = {});

}  // namespace quillmere
