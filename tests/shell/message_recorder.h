// Records every message box the program would show, answering confirmations
// from a script, so tests can drive error paths without a modal box.
#pragma once

#include "shell/message_boxes.h"

#include <deque>
#include <vector>

namespace quillmere {

class MessageRecorder {
public:
    MessageRecorder()
        : guard_([this](const MessageRequest& request) {
              calls.push_back(request);
              if (answers.empty()) {
                  return false;
              }
              const bool answer = answers.front();
              answers.pop_front();
              return answer;
          }) {}

    // Texts of the calls of one kind, in order.
    std::vector<QString> texts(MessageKind kind) const {
        std::vector<QString> result;
        for (const MessageRequest& call : calls) {
            if (call.kind == kind) {
                result.push_back(call.text);
            }
        }
        return result;
    }

    std::vector<MessageRequest> calls;
    std::deque<bool> answers;

private:
    ScopedMessageHook guard_;
};

}  // namespace quillmere
