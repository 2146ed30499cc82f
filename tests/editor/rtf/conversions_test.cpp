// The displayed text of entries, as the journal tool's "text" prints it.
#include "editor/rtf/conversions.h"
#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace quillmere::rtf;

namespace {

TEST(EntryText, ReadsStoredBlobsAsTheEditorShowsThem) {
    EXPECT_EQ("caf\u00e9\nnext",
              entryTextOfBlob(quillmere::EncodeEntryContent("{\\rtf1 caf\\'e9\\par next}"))
                  .toStdString());
    EXPECT_EQ("plain", entryTextOfBlob(quillmere::EncodeEntryContent("plain")).toStdString());
    EXPECT_THROW(entryTextOfBlob("not zlib"), quillmere::ZlibError);
    EXPECT_THROW_MSG(entryText(QByteArray("\0", 1)), RtfError, "Failed to Load Stream");
}

}  // namespace
