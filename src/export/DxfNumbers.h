#pragma once

#include <string_view>

namespace tarmela::dxf
{

// Numbers as the drawings write them: always a point as decimal separator, never grouping or
// an exponent, whatever the locale. Each formatter fills a caller's buffer (no allocation, the
// writer calls them millions of times) and returns the number of characters written.

// Enough room for any value of the formatters below.
constexpr int kNumberBufferSize = 400;

// A coordinate or size as a 32-bit float prints: at most 7 significant digits, trailing zeros
// dropped (26.166666 -> "26.16667", 0.15 -> "0.15", 2 -> "2", -0.5 -> "-0.5").
// Not-a-number and infinities, which no drawing should hold, come out as "0".
int formatSingle(float value, char* out);

// Exactly two decimals ("2.50", "-0.30", "99.70"); a value that rounds to zero has no sign.
int formatTwoDecimals(double value, char* out);

// A stored value in its plain text form: the shortest digits that read back as the same value,
// in fixed notation ("100.5", "20", "-0.001"); empty for a null (not-a-number).
int formatStored(double value, char* out);

// The same three as small strings, for code that is not on the hot path.
struct NumberText {
    char text[kNumberBufferSize];
    int length = 0;
    std::string_view view() const { return {text, static_cast<std::size_t>(length)}; }
};
NumberText single(float value);
NumberText twoDecimals(double value);
NumberText stored(double value);

} // namespace tarmela::dxf
