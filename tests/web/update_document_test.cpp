// Reading and checking the maker's update document.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "web/update_document.h"
#include "web/web_texts.h"

namespace velmora::web {
namespace {

struct FieldCase {
    const char* text;
    std::size_t size;
    bool found;
    const char* value;
};

TEST(ReadFieldTest, TakesTheValueAfterTheKeyAndItsBlanks) {
    const FieldCase cases[] = {
        {"Version  1.2\r\nBuild 7\r\n", 32, true, "1.2"},
        {"Version\t \t1.2 \t \r\n", 32, true, "1.2"},
        {"Version 1.2 \nBuild 7\n", 32, true, "1.2"},
        // A carriage return later in the text ends the value before a line feed.
        {"Version 1.2\nBuild 7\r\n", 32, true, "1.2\nBuild 7"},
        {"Version 1.2", 32, true, "1.2"},
        {"Version", 32, true, ""},
        {"Version   ", 32, true, ""},
        {"Build 7\r\n", 32, false, ""},
        {"Version 1234567\r\n", 8, true, "1234567"},
        {"Version 12345678\r\n", 8, false, ""},
        {"Version 1\r\n", 0, false, ""},
    };
    for (const FieldCase& c : cases) {
        char output[40];
        std::memset(output, 'x', sizeof output);
        EXPECT_EQ(ReadField(c.text, "Version", output, c.size), c.found) << c.text;
        if (c.size > 0) {
            EXPECT_STREQ(output, c.value) << c.text;
            EXPECT_EQ(output[c.size - 1], '\0') << c.text;
        }
        EXPECT_EQ(output[c.size], 'x') << "written past the buffer: " << c.text;
    }
}

const std::string kAddress = DecodeText(texts::kUpdateAddress);

TEST(CheckUpdateDocumentTest, AcceptsOnlyTheExpectedDocument) {
    struct Case {
        std::string address;
        std::string document;
        UpdateDocumentOutcome outcome;
        const char* version;
    } const cases[] = {
        {kAddress, "#QUILLFEN-UPDATE\r\n[Velmora]\r\nVersion   1.3  \r\n",
         UpdateDocumentOutcome::Accepted, "1.3"},
        // The signature is compared over 16 characters only.
        {kAddress, "#QUILLFEN-UPDATEX\n[Velmora]\nVersion 2.0", UpdateDocumentOutcome::Accepted,
         "2.0"},
        // The field is read after the section, not before it.
        {kAddress, "#QUILLFEN-UPDATE\r\nVersion 9\r\n[Velmora]\r\nVersion 1.4\r\n",
         UpdateDocumentOutcome::Accepted, "1.4"},
        {kAddress + "?", "#QUILLFEN-UPDATE\r\n[Velmora]\r\nVersion 1.3\r\n",
         UpdateDocumentOutcome::OtherAddress, ""},
        {kAddress, "#QUILLFEN-UPDATF\r\n[Velmora]\r\nVersion 1.3\r\n",
         UpdateDocumentOutcome::NoSignature, ""},
        {kAddress, "#QUILLFEN", UpdateDocumentOutcome::NoSignature, ""},
        {kAddress, "#QUILLFEN-UPDATE\r\n[velmora]\r\nVersion 1.3\r\n",
         UpdateDocumentOutcome::NoSection, ""},
        {kAddress, "#QUILLFEN-UPDATE\r\n[Velmora]\r\nBuild 1\r\n", UpdateDocumentOutcome::NoVersion,
         ""},
        {kAddress, "#QUILLFEN-UPDATE\r\n[Velmora]\r\nVersion " + std::string(32, '1') + "\r\n",
         UpdateDocumentOutcome::NoVersion, ""},
        {kAddress, "#QUILLFEN-UPDATE\r\n[Velmora]\r\nVersion \r\n",
         UpdateDocumentOutcome::NoVersion, ""},
        // The text ends at its first zero byte.
        {kAddress, std::string("#QUILLFEN-UPDATE\r\n\0[Velmora]\r\nVersion 1.3\r\n", 42),
         UpdateDocumentOutcome::NoSection, ""},
    };
    for (const Case& c : cases) {
        const UpdateDocumentResult result = CheckUpdateDocument(c.address, c.document);
        EXPECT_EQ(result.outcome, c.outcome) << c.document;
        EXPECT_EQ(result.version, c.version) << c.document;
    }
}

}  // namespace
}  // namespace velmora::web
