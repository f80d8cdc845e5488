#include "export/DxfNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tarmela::dxf {

namespace {

char* writeUnsigned(std::uint64_t value, char* out)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

constexpr std::uint64_t kPow10[] = {1ull,       10ull,       100ull,       1000ull,
                                    10000ull,   100000ull,   1000000ull,   10000000ull,
                                    100000000ull, 1000000000ull, 10000000000ull};

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
    double a = std::fabs(static_cast<double>(value));
    if (!(a >= 1e-4 && a < 1e7))
        return formatSingleSlow(a, negative, out);

    // Scale to seven integer digits. A float has 24 significant bits, so multiplying it by ten
    // up to ten times stays exact in a double: the rounding below is the correct one, ties to
    // even like the library's.
    int decimals = 0;
    while (a < 1e6) {
        a *= 10;
        ++decimals;
    }
    auto n = static_cast<std::uint64_t>(std::nearbyint(a));
    if (n >= 10000000ull) { // rounded up to the next power of ten
        n /= 10;
        --decimals;
    }
    if (decimals < 0) {
        n *= 10;
        decimals = 0;
    }
    while (decimals > 0 && n % 10 == 0) {
        n /= 10;
        --decimals;
    }
    char* o = out;
    if (negative)
        *o++ = '-';
    o = writeUnsigned(n / kPow10[decimals], o);
    if (decimals > 0) {
        *o++ = '.';
        std::uint64_t fraction = n % kPow10[decimals];
        for (int i = decimals - 1; i >= 0; --i) {
            o[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        o += decimals;
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
