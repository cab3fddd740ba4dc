#ifndef ZEL_CAMERA_REGISTER_ENTRY_H
#define ZEL_CAMERA_REGISTER_ENTRY_H

// One camera register as the register image holds it: a four-digit upper-case
// hexadecimal address and a two-digit upper-case hexadecimal byte value, each possibly
// empty (a register the camera image has room for but nothing has written).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class RegisterEntry {
  public:
    RegisterEntry() = default;
    RegisterEntry(std::string_view address, std::string_view value) { set(address, value); }

    // Stores the texts as they are; each must be at most four (address) or two (value)
    // characters, longer texts keep their last characters.
    void set(std::string_view address, std::string_view value) {
        setText(address_, address);
        setText(value_, value);
    }
    void setValue(std::string_view value) { setText(value_, value); }
    // Formats a number as four (address) or two (value) upper-case hexadecimal digits.
    void setAddressNumber(std::uint32_t address) { setHex(address_, address); }
    void setValueNumber(std::uint32_t value) { setHex(value_, value); }

    std::string address() const { return std::string(text(address_)); }
    std::string value() const { return std::string(text(value_)); }
    std::string_view valueView() const { return text(value_); }
    bool addressEmpty() const { return address_[0] == '\0'; }
    // The texts read as hexadecimal numbers; an empty text reads as 0.
    std::uint32_t addressNumber() const { return parseHex(address_); }
    std::uint32_t valueNumber() const { return parseHex(value_); }

    bool operator==(const RegisterEntry& other) const {
        return text(address_) == other.text(other.address_) &&
               text(value_) == other.text(other.value_);
    }
    bool operator!=(const RegisterEntry& other) const { return !(*this == other); }

  private:
    template <std::size_t N>
    static void setText(char (&field)[N], std::string_view text) {
        if (text.size() > N) {
            text.remove_prefix(text.size() - N);
        }
        for (std::size_t i = 0; i < N; ++i) {
            field[i] = i < text.size() ? text[i] : '\0';
        }
    }
    template <std::size_t N>
    static void setHex(char (&field)[N], std::uint32_t number) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (std::size_t i = 0; i < N; ++i) {
            field[N - 1 - i] = kDigits[(number >> (4 * i)) & 0xFu];
        }
    }
    template <std::size_t N>
    static std::string_view text(const char (&field)[N]) {
        std::size_t n = 0;
        while (n < N && field[n] != '\0') {
            ++n;
        }
        return std::string_view(field, n);
    }
    template <std::size_t N>
    static std::uint32_t parseHex(const char (&field)[N]) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < N && field[i] != '\0'; ++i) {
            const char c = field[i];
            std::uint32_t digit = 0;
            if (c >= '0' && c <= '9') {
                digit = static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<std::uint32_t>(c - 'A' + 10);
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<std::uint32_t>(c - 'a' + 10);
            } else {
                break;
            }
            number = number * 16 + digit;
        }
        return number;
    }

    char address_[4]{};
    char value_[2]{};
};

using RegisterList = std::vector<RegisterEntry>;
using RegisterGroup = std::vector<RegisterList>;

#endif  // ZEL_CAMERA_REGISTER_ENTRY_H
