#include "export/DxfNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tarmela::dxf
{

namespace
{

constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334"
    "3536373839404142434445464748495051525354555657585960616263646566676869"
    "707172737475767778798081828384858687888990919293949596979899";

// Any magnitude: the correctly rounded 7 significant digits from the library, laid out in
// plain decimal form.
int formatSingleSlow(double a, bool negative, char* out)
{
    char sci[32];
    const auto res = std::to_chars(sci, sci + sizeof sci, a, std::chars_format::scientific, 6);
    if (res.ec != std::errc()) {
        out[0] = '0';
        return 1;
    }
    // sci is "d.dddddde[+-]xx"
    char digits[8];
    int nd = 0;
    const char* p = sci;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[nd++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;

    char* o = out;
    if (negative)
        *o++ = '-';
    if (exponent < 0) {
        *o++ = '0';
        *o++ = '.';
        for (int i = -1; i > exponent; --i)
            *o++ = '0';
        for (int i = 0; i < nd; ++i)
            *o++ = digits[i];
    } else {
        for (int i = 0; i <= exponent; ++i)
            *o++ = i < nd ? digits[i] : '0';
        if (nd > exponent + 1) {
            *o++ = '.';
            for (int i = exponent + 1; i < nd; ++i)
                *o++ = digits[i];
        }
    }
    return static_cast<int>(o - out);
}

} // namespace

int formatSingle(float value, char* out)
{
    if (!std::isfinite(value) || value == 0.0f) {
        out[0] = '0';
        return 1;
    }
    const bool negative = value < 0;
    const double a = std::fabs(static_cast<double>(value));
    if (!(a >= 1e-4 && a < 1e7))
        return formatSingleSlow(a, negative, out);

    // Scale to seven integer digits: value = n / 10^decimals. A float has 24 significant bits
    // and 10^10 = 5^10 * 2^10 with 5^10 below 2^24, so the product is exact in a double and the
    // rounding below is the correct one.
    // The decimal exponent from the binary one: a float in [2^e, 2^(e+1)) has floor(log10) of
    // p = floor(e * log10 2) or p + 1, told apart by one comparison.
    static constexpr double kPow10[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1,
                                        1e2,  1e3,  1e4,  1e5,  1e6, 1e7};
    static constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int e = static_cast<int>((bits >> 23) & 0xff) - 127;
    const int p = (e * 78913) >> 18; // floor(e * log10 2) for small e
    const int decimals = 6 - p - (a >= kPow10[p + 5] ? 1 : 0);
    // Adding and taking away 2^52 rounds to a whole number, ties to even, without a library call.
    constexpr double kRound = 4503599627370496.0;
    auto n = static_cast<std::uint32_t>((a * kScale[decimals] + kRound) - kRound);
    int shift = 0;
    if (n >= 10000000u) { // rounded up to the next power of ten
        n = 1000000u;
        shift = 1;
    }
    char d[7];
    const std::uint32_t high = n / 10000, low = n % 10000;
    d[0] = static_cast<char>('0' + high / 100);
    std::memcpy(d + 1, kDigitPairs + 2 * (high % 100), 2);
    std::memcpy(d + 3, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(d + 5, kDigitPairs + 2 * (low % 100), 2);

    char* o = out;
    if (negative)
        *o++ = '-';
    const int whole = 7 - decimals + shift; // digits before the point
    if (whole >= 7) {
        std::memcpy(o, d, 7);
        o += 7;
        for (int i = 7; i < whole; ++i)
            *o++ = '0';
        return static_cast<int>(o - out);
    }
    // The last digit that is not a trailing zero: the highest byte of the seven digits that
    // differs from '0' (d[0] never is '0').
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint64_t lanes = 0;
    std::memcpy(&lanes, d, 7);
    lanes ^= 0x0030303030303030ull;
    const int lastNonZero = (63 - __builtin_clzll(lanes)) / 8;
#else
    int lastNonZero = 6;
    while (d[lastNonZero] == '0')
        --lastNonZero;
#endif
    const int last = lastNonZero >= whole ? lastNonZero : whole - 1; // the last digit to write
    if (whole <= 0) {
        *o++ = '0';
        *o++ = '.';
        for (int i = whole; i < 0; ++i)
            *o++ = '0';
        std::memcpy(o, d, static_cast<std::size_t>(last + 1));
        return static_cast<int>(o + last + 1 - out);
    }
    std::memcpy(o, d, static_cast<std::size_t>(whole));
    o += whole;
    if (last >= whole) {
        *o++ = '.';
        std::memcpy(o, d + whole, static_cast<std::size_t>(last + 1 - whole));
        o += last + 1 - whole;
    }
    return static_cast<int>(o - out);
}

int formatTwoDecimals(double value, char* out)
{
    if (!std::isfinite(value)) {
        std::memcpy(out, "0.00", 4);
        return 4;
    }
    const auto res =
        std::to_chars(out, out + kNumberBufferSize, value, std::chars_format::fixed, 2);
    if (res.ec != std::errc()) {
        std::memcpy(out, "0.00", 4);
        return 4;
    }
    int n = static_cast<int>(res.ptr - out);
    if (n == 5 && std::memcmp(out, "-0.00", 5) == 0) {
        std::memmove(out, out + 1, 4);
        n = 4;
    }
    return n;
}

int formatStored(double value, char* out)
{
    if (std::isnan(value))
        return 0;
    if (!std::isfinite(value) || value == 0.0) {
        out[0] = '0';
        return 1;
    }
    const auto res = std::to_chars(out, out + kNumberBufferSize, value, std::chars_format::fixed);
    if (res.ec != std::errc()) {
        out[0] = '0';
        return 1;
    }
    return static_cast<int>(res.ptr - out);
}

NumberText single(float value)
{
    NumberText t;
    t.length = formatSingle(value, t.text);
    return t;
}

NumberText twoDecimals(double value)
{
    NumberText t;
    t.length = formatTwoDecimals(value, t.text);
    return t;
}

NumberText stored(double value)
{
    NumberText t;
    t.length = formatStored(value, t.text);
    return t;
}

} // namespace tarmela::dxf
