// Dropped text to the first path: URIs decoded, plain paths taken as they are, and every kind
// of line that names no local path skipped.
#include "platform/common/dropped_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    std::string text;
    std::string path;
};

TEST(DroppedText, FirstLocalPathOfTheText) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"file:///home/anna/Musik/", "/home/anna/Musik/"},
        {"file:///home/anna/Die%20%C3%84rzte/Lied.mp3\r\n", "/home/anna/Die Ärzte/Lied.mp3"},
        {"FILE://localhost/a%2fb%2Fc", "/a/b/c"},
        {"file://anna-pc/srv/Musik", "/srv/Musik"},
        {"file:/kurz", "/kurz"},
        {"  file:///gepolstert  \r\n", "/gepolstert"},
        {"/home/anna/100%20 Hits\n/zweite", "/home/anna/100%20 Hits"},
        {"file:///eins\r\nfile:///zwei\r\n", "/eins"},
        {"# text/uri-list comment\r\n\r\nhttp://example.org/x\nMusik\nfile:///dritte", "/dritte"},
        {"file:///bad%G1%4%", "/bad%G1%4%"},
        {"file:///nul%00inside\n/danach", "/danach"},
        {"/vor\0/nach"s, "/vor"},
        {"\0/nach"s, ""},
        {"file://nur-host", ""},
        {"file:relativ", ""},
        {"", ""},
        {"\r\n\r\n", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstDroppedPath(c.text), c.path) << c.text;
}

}  // namespace
