// The JSON text the library hands hosts: valid whatever the numbers and bytes it is given,
// the same whatever the C locale.

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <limits>
#include <string>
#include <vector>

#include "readback/json_text.h"

namespace {

TEST(JsonText, NestsIndentsAndWritesEveryKindOfValue) {
    zel::JsonText j;
    j.beginObject();
    j.field("name", "CAMB-001");
    j.field("grid", 17);
    j.field("sound", false);
    j.key("empty").values(std::vector<std::string>{});
    j.key("domain").values(std::array<double, 2>{0.5, 2.0});
    j.key("nested").beginObject().field("share", 0.1).endObject();
    j.endObject();
    EXPECT_EQ(j.text(),
              "{\n  \"name\": \"CAMB-001\",\n  \"grid\": 17,\n  \"sound\": false,\n"
              "  \"empty\": [],\n  \"domain\": [\n    0.5,\n    2.0\n  ],\n"
              "  \"nested\": {\n    \"share\": 0.1\n  }\n}");
}

TEST(JsonText, NumbersReadBackExactlyAndNonFiniteOnesAreNull) {
    zel::JsonText j;
    j.beginArray();
    j.value(0.1 + 0.2);
    j.value(-0.0);
    j.value(1e300);
    j.value(std::numeric_limits<double>::quiet_NaN());
    j.value(-std::numeric_limits<double>::infinity());
    j.endArray();
    EXPECT_EQ(j.text(), "[\n  0.30000000000000004,\n  -0.0,\n  1e+300,\n  null,\n  null\n]");
}

// A host that sets a locale with a decimal comma gets the same text.
TEST(JsonText, NumbersIgnoreTheHostsLocale) {
    const char* set = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        set = set != nullptr ? set : std::setlocale(LC_NUMERIC, name);
    }
    if (set == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    zel::JsonText j;
    j.value(2.5);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(j.text(), "2.5");
}

TEST(JsonText, EscapesControlsAndReplacesBytesThatAreNotUtf8) {
    zel::JsonText j;
    // Quote, backslash, newline, a control byte, a valid two-byte letter, a lone
    // continuation byte, an overlong encoding of '/', a cut three-byte sequence, a surrogate.
    j.value(std::string("a\"b\\c\nd\x01 \xC3\xA9 \x80 \xC0\xAF \xE2\x82 \xED\xA0\x80"));
    EXPECT_EQ(j.text(),
              "\"a\\\"b\\\\c\\nd\\u0001 \xC3\xA9 \xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD "
              "\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
}

}  // namespace
