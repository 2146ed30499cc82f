// The interpreter's shapes and drawing objects: which of their parts are
// text (the text boxes) and where that text goes (paragraphs of its own).
#include "editor/rtf/control_words.h"
#include "editor/rtf/interpreter.h"

namespace quillmere::rtf {

// Words of shapes and drawing objects; true when handled.
bool Interpreter::shapeWord(int id, Tokenizer& tokenizer) {
    const Group& group = stack_.back();
    const bool inShape = group.dest == Dest::Shape;
    switch (id) {
        case kShpinst:
            if (group.dest == Dest::Normal || inShape) {
                beginDest(Dest::Shape);
            } else {
                skipRest(tokenizer);
            }
            return true;
        case kDo:
            // In a \shprslt the drawing object repeats the shape just read.
            if ((group.dest == Dest::Normal && !group.shapeResult) || inShape) {
                beginDest(Dest::Shape);
            } else {
                skipRest(tokenizer);
            }
            return true;
        case kShptxt:
        case kDptxbxtext:
            if (group.dest == Dest::Normal || inShape) {
                beginTextBox();
            } else {
                skipRest(tokenizer);
            }
            return true;
        default:
            return false;
    }
}

// A text box's paragraphs stand apart from the paragraph around the shape,
// and start from the default paragraph state.
void Interpreter::beginTextBox() {
    flush();
    if (paragraphHasContent_) {
        sendParagraphEnd();
    }
    beginDest(Dest::Normal);
    stack_.back().textBox = true;
    outerParas_.push_back(para_);
    para_ = ParaState{};
}

// The text box's group closes: its last paragraph ends, and the paragraph
// around the shape goes on.
void Interpreter::endTextBox() {
    if (paragraphHasContent_) {
        sendParagraphEnd();
    }
    if (!outerParas_.empty()) {
        para_ = outerParas_.back();
        outerParas_.pop_back();
    }
}

void Interpreter::sendParagraphEnd() {
    sink_.paragraphEnd();
    paragraphHasContent_ = false;
}

void Interpreter::sendLineBreak() {
    sink_.lineBreak();
    paragraphHasContent_ = true;
}

}  // namespace quillmere::rtf
