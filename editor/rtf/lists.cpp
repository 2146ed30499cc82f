#include "editor/rtf/lists.h"

#include "editor/rtf/control_words.h"

#include <algorithm>

namespace quillmere::rtf {
namespace {

// The kind of list a \levelnfc numbering format gives.
ListKind kindOfFormat(int nfc) {
    switch (nfc) {
        case 0:
            return ListKind::Decimal;
        case 1:
            return ListKind::UpperRoman;
        case 2:
            return ListKind::LowerRoman;
        case 3:
            return ListKind::UpperAlpha;
        case 4:
            return ListKind::LowerAlpha;
        case 23:
            return ListKind::Bullet;
        case 255:
            return ListKind::None;
        default:
            return ListKind::Decimal;
    }
}

}  // namespace

void ListTables::listWord(int id, int param) {
    if (id == kList) {
        endList();
        inList_ = true;
        list_ = ListDef{};
        listId_ = 0;
    } else if (id == kListlevel && inList_) {
        list_.levelFormats.push_back(0);
    } else if (id == kLevelnfc && inList_ && !list_.levelFormats.empty()) {
        list_.levelFormats.back() = param;
    } else if (id == kListid && inList_) {
        listId_ = param;
    }
}

void ListTables::endList() {
    if (inList_) {
        lists_[listId_] = list_;
    }
    inList_ = false;
}

void ListTables::overrideWord(int id, int param) {
    if (id == kListoverride) {
        overrideListId_ = 0;
    } else if (id == kListid) {
        overrideListId_ = param;
    } else if (id == kLs) {
        overrides_[param] = overrideListId_;
    }
}

ListKind ListTables::listKind(const ParaState& para) const {
    if (para.listOverride <= 0) {
        return para.pnKind;
    }
    auto over = overrides_.find(para.listOverride);
    if (over != overrides_.end()) {
        auto list = lists_.find(over->second);
        if (list != lists_.end() && !list->second.levelFormats.empty()) {
            const auto& levels = list->second.levelFormats;
            std::size_t level =
                std::min(static_cast<std::size_t>(para.listLevel), levels.size() - 1);
            ListKind kind = kindOfFormat(levels[level]);
            if (kind != ListKind::None || para.pnKind == ListKind::None) {
                return kind;
            }
        }
    }
    return para.pnKind != ListKind::None ? para.pnKind : ListKind::Bullet;
}

int ListTables::listLevel(const ParaState& para) const {
    return para.listOverride > 0 ? para.listLevel : para.pnLevel;
}

void beginPn(ParaState& para) {
    para.pnKind = ListKind::Decimal;
    para.pnLevel = 0;
}

void readPnWord(int id, int param, ParaState& para) {
    switch (id) {
        case kPnlvlblt:
            para.pnKind = ListKind::Bullet;
            para.pnLevel = 0;
            break;
        case kPnlvlbody:
            para.pnLevel = 0;
            break;
        case kPnlvl:
            para.pnLevel = std::clamp(param - 1, 0, 8);
            break;
        case kPnlvlcont:
            para.pnKind = ListKind::None;
            break;
        case kPndec:
            para.pnKind = ListKind::Decimal;
            break;
        case kPnucltr:
            para.pnKind = ListKind::UpperAlpha;
            break;
        case kPnlcltr:
            para.pnKind = ListKind::LowerAlpha;
            break;
        case kPnucrm:
            para.pnKind = ListKind::UpperRoman;
            break;
        case kPnlcrm:
            para.pnKind = ListKind::LowerRoman;
            break;
        default:
            break;
    }
}

}  // namespace quillmere::rtf
