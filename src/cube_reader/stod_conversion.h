#ifndef ZEL_CUBE_READER_STOD_CONVERSION_H
#define ZEL_CUBE_READER_STOD_CONVERSION_H

// The standard string-to-double conversion as the exported .cube reader applies it to
// every number: leading white space skipped, the longest valid prefix taken (so hex,
// "inf" and "nan" spellings and trailing characters pass as the C library reads them),
// the current locale's decimal point, a result out of the range of a double or below
// its normal range refused. Failures carry the messages hosts see on every platform:
// "invalid stod argument" and "stod argument out of range".
//
// Large looks hold tens of millions of numbers, nearly all plain decimals such as
// 0.123456. Those are converted by the locale-independent standard conversion, whose
// result is the correctly rounded value as the C library's is; everything else, and
// every result near the limits of the range, goes through the C library itself, so
// the answer is the same for every text.

#include <string>
#include <string_view>

namespace zel::io {

// The standard conversion of `text` with the messages above.
double stodWithStandardMessages(const std::string& text);

class StodConversion {
  public:
    // Looks once at the calling thread's decimal point and rounding mode: the quick
    // path is taken only where it gives the C library's result.
    StodConversion();

    double operator()(std::string_view token) const;

  private:
    bool quickPath_ = false;
};

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_STOD_CONVERSION_H
