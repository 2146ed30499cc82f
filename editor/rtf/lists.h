// What an RTF paragraph is in lists, from the two ways RTF marks lists:
//
//  - the Word 97 tables: \listtable (each \list with its \listid and one
//    \levelnfc numbering format per \listlevel) and \listoverridetable
//    (each \lsN naming a \listid); a paragraph names its list by \lsN and
//    its level by \ilvlN;
//  - the older \pn group in the paragraph itself ({\*\pn\pnlvlblt ...}),
//    which readPnWord applies to the paragraph state.
//
// Nothing here throws except on running out of memory.
#pragma once

#include "editor/rtf/reader_state.h"

#include <unordered_map>
#include <vector>

namespace quillmere::rtf {

class ListTables {
public:
    // Reading \listtable: beginLists() starts it, listWord() takes \list,
    // \listlevel, \levelnfc and \listid (others are ignored), endList()
    // stores the list being read when its group or the table closes.
    void beginLists() { inList_ = false; }
    void listWord(int id, int param);
    void endList();
    // Reading \listoverridetable: \listoverride, \listid and \ls.
    void beginOverrides() { overrideListId_ = 0; }
    void overrideWord(int id, int param);

    // What a paragraph with this state is in lists: its kind and level.
    ListKind listKind(const ParaState& para) const;
    int listLevel(const ParaState& para) const;

private:
    struct ListDef {
        std::vector<int> levelFormats;  // \levelnfc per level
    };
    std::unordered_map<int, ListDef> lists_;  // by \listid
    std::unordered_map<int, int> overrides_;  // \ls -> \listid
    ListDef list_;
    int listId_ = 0;
    bool inList_ = false;
    int overrideListId_ = 0;
};

// A \pn group starts: a numbered paragraph at the first level until its
// words say otherwise.
void beginPn(ParaState& para);
// Applies a word of a \pn group (\pnlvlblt, \pnlvlN, \pndec, ...) to the
// paragraph; other words are ignored.
void readPnWord(int id, int param, ParaState& para);

}  // namespace quillmere::rtf
