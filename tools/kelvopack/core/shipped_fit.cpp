#include "core/shipped_fit.h"

#include <cstdint>

namespace kelvo::pack {

namespace {

// A positive number as the x87 unit holds it: mantissa x 2^-scale, the
// mantissa's top bit set. Every number here lies between 2^-31 and 2^31,
// so the scale stays between 32 and 95.
struct Extended {
    std::uint64_t mantissa;
    int scale;
};

bool isSmaller(const Extended& a, const Extended& b) {
    return a.scale != b.scale ? a.scale > b.scale : a.mantissa < b.mantissa;
}

int bitLength(std::uint64_t value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

// `mantissa` holds the first 64 bits of the exact value; what follows them
// is more than half a unit of the last bit, or exactly half.
Extended roundedToNearestEven(std::uint64_t mantissa, int scale, bool aboveHalf, bool half) {
    if (aboveHalf || (half && (mantissa & 1) != 0)) {
        if (++mantissa == 0) return {std::uint64_t{1} << 63, scale - 1};   // carried out: 2^64 is 2^63 x 2
    }
    return {mantissa, scale};
}

// dividend / divisor, both positive, by long division one bit at a time:
// 64 bits of quotient and the remainder to round them, without the 128-bit
// integers the 32-bit compilers lack.
Extended quotient(int dividend, int divisor) {
    std::uint64_t remainder = static_cast<std::uint64_t>(dividend);
    std::uint64_t denominator = static_cast<std::uint64_t>(divisor);
    int scale = 63;
    // So that the quotient's first bit is 1: denominator <= remainder < 2 x denominator.
    for (; remainder < denominator; remainder <<= 1) ++scale;
    for (; remainder >= 2 * denominator; denominator <<= 1) --scale;
    std::uint64_t mantissa = 0;
    for (int bit = 0; bit < 64; ++bit) {
        mantissa <<= 1;
        if (remainder >= denominator) {
            remainder -= denominator;
            mantissa |= 1;
        }
        remainder <<= 1;
    }
    // The remainder is now twice what was left over, so half a unit is the denominator.
    return roundedToNearestEven(mantissa, scale, remainder > denominator, remainder == denominator);
}

// factor x value rounded to 64 bits of mantissa, then truncated toward zero
// as the conversion to int does.
int truncatedProduct(int factor, const Extended& value) {
    // The exact product, up to 95 bits: high x 2^32 + low32.
    const std::uint64_t wideFactor = static_cast<std::uint64_t>(factor);
    const std::uint64_t lowPart = wideFactor * (value.mantissa & 0xFFFFFFFFu);
    const std::uint64_t high = wideFactor * (value.mantissa >> 32) + (lowPart >> 32);
    const std::uint32_t low32 = static_cast<std::uint32_t>(lowPart);
    // high holds at least 32 bits (the mantissa's top bit is set), so the
    // `dropped` lowest bits of low32 (0 to 31) fall outside the mantissa.
    const int dropped = bitLength(high) - 32;
    const std::uint64_t kept = (high << (32 - dropped)) | (low32 >> dropped);
    const std::uint32_t rest = low32 & ((std::uint32_t{1} << dropped) - 1);
    const std::uint32_t half = dropped > 0 ? std::uint32_t{1} << (dropped - 1) : 0;
    const Extended product = roundedToNearestEven(kept, value.scale - dropped, dropped > 0 && rest > half,
                                                  dropped > 0 && rest == half);
    return product.scale >= 64 ? 0 : static_cast<int>(product.mantissa >> product.scale);
}

}  // namespace

FittedSize shippedPlayerFit(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) return {};
    const Extended across = quotient(boxWidth, pictureWidth);
    const Extended down = quotient(boxHeight, pictureHeight);
    const Extended ratio = isSmaller(down, across) ? down : across;
    return {truncatedProduct(pictureWidth, ratio), truncatedProduct(pictureHeight, ratio)};
}

}  // namespace kelvo::pack
