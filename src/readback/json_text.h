#ifndef ZEL_READBACK_JSON_TEXT_H
#define ZEL_READBACK_JSON_TEXT_H

// Writes JSON text, indented by two spaces a level: the reports the library gives hosts.
// Numbers are written in the shortest form that reads back to the same double, whatever the
// C locale; a number that is not finite is written as null, and bytes that are not UTF-8 as
// U+FFFD, so the text is always valid JSON.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

class JsonText {
  public:
    JsonText& beginObject();
    JsonText& endObject();
    JsonText& beginArray();
    JsonText& endArray();
    // The key of the next value inside an object.
    JsonText& key(std::string_view name);

    JsonText& value(double number);
    JsonText& value(int number);
    JsonText& value(bool flag);
    JsonText& value(std::string_view text);
    JsonText& value(const char* text) { return value(std::string_view(text)); }

    // Key and value in one.
    template <typename T>
    JsonText& field(std::string_view name, const T& v) {
        return key(name).value(v);
    }

    // An array of the values of a container.
    template <typename Container>
    JsonText& values(const Container& items) {
        beginArray();
        for (const auto& item : items) {
            value(item);
        }
        return endArray();
    }

    const std::string& text() const { return out_; }

  private:
    void beforeValue();
    void close(char bracket);

    std::string out_;
    std::vector<int> counts_;  // values written in each open object or array
    bool afterKey_ = false;
};

}  // namespace zel

#endif  // ZEL_READBACK_JSON_TEXT_H
