// Runs the journal tool in-process, as its executable would, collecting its
// exit code and both output streams.
#pragma once

#include "tools/journal/commands.h"

#include <QBuffer>
#include <QByteArray>
#include <QStringList>

namespace quillmere::tooltest {

struct ToolRun {
    int code;
    QByteArray out;
    QByteArray err;
};

inline ToolRun tool(const QStringList& args) {
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = journaltool::runTool(args, out, err);
    return {code, out.data(), err.data()};
}

}  // namespace quillmere::tooltest
