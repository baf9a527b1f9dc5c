#include "core/numbers/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"

namespace {

constexpr int RecordDigits = 18;

// A non-negative whole number in base 10^9, least significant limb first. Big enough for
// the exact decimal expansion of any Extended value (under 5,000 decimal digits before
// the point, under 11,600 after it). The limbs live on the stack: the demand data file
// converts hundreds of values, and a heap allocation would cost more than the arithmetic.
class TBigDecimal {
  public:
    explicit TBigDecimal(std::uint64_t value) {
        do {
            Limbs[Count++] = static_cast<std::uint32_t>(value % LimbBase);
            value /= LimbBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < Count; ++i) {
            const std::uint64_t product = std::uint64_t{Limbs[i]} * factor + carry;
            Limbs[i] = static_cast<std::uint32_t>(product % LimbBase);
            carry = product / LimbBase;
        }
        while (carry != 0) {
            Limbs.at(static_cast<std::size_t>(Count++)) =
                static_cast<std::uint32_t>(carry % LimbBase);
            carry /= LimbBase;
        }
    }

    // Multiplies by base^count, in steps of base^step (each step below 2^32).
    void MultiplyByPower(std::uint32_t base, int count, std::uint32_t stepFactor, int step) {
        for (; count >= step; count -= step) {
            MultiplyBy(stepFactor);
        }
        for (; count > 0; --count) {
            MultiplyBy(base);
        }
    }

    std::string ToDecimal() const {
        char first[10];
        const char* end = std::to_chars(first, first + sizeof first, Limbs[Count - 1]).ptr;
        std::string text(first, static_cast<std::size_t>(end - first));
        text.resize(text.size() + 9 * static_cast<std::size_t>(Count - 1));
        char* out = text.data() + text.size();
        for (int i = 0; i < Count - 1; ++i) {  // the lower limbs, last digit first
            std::uint32_t limb = Limbs[i];
            for (int digit = 0; digit < 9; ++digit) {
                *--out = static_cast<char>('0' + limb % 10);
                limb /= 10;
            }
        }
        return text;
    }

  private:
    static constexpr std::uint32_t LimbBase = 1000000000;
    std::array<std::uint32_t, 1400> Limbs;
    int Count = 0;
};

// The exact decimal expansion of a positive finite magnitude, as digits d1 d2 ... dn (d1 not
// zero) and the exponent E with magnitude = 0.d1 d2 ... dn x 10^E. Every Extended is a 64-bit
// integer times a power of two, and 2^-n = 5^n / 10^n, so the expansion is finite.
TDigitRecord ExactDecimal(Extended magnitude) {
    int binaryExponent = 0;
    const Extended fraction = std::frexp(magnitude, &binaryExponent);
    auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    int powerOfTwo = binaryExponent - 64;
    while ((significand & 1U) == 0) {
        significand >>= 1;
        ++powerOfTwo;
    }
    TBigDecimal whole(significand);
    int scale = 0;  // magnitude = whole x 10^scale
    if (powerOfTwo >= 0) {
        whole.MultiplyByPower(2, powerOfTwo, std::uint32_t{1} << 31, 31);
    } else {
        whole.MultiplyByPower(5, -powerOfTwo, 1220703125, 13);  // 5^13
        scale = powerOfTwo;
    }
    TDigitRecord record;
    record.Digits = whole.ToDecimal();
    record.Exponent = static_cast<int>(record.Digits.size()) + scale;
    return record;
}

// Keeps the first count digits, adding one to them when the digit after is 5 or more; a
// carry past the first digit leaves the single digit 1 and raises the exponent.
void RoundDigitsAt(TDigitRecord& record, std::size_t count) {
    std::string& digits = record.Digits;
    if (digits.size() <= count) {
        return;
    }
    const bool roundUp = digits[count] >= '5';
    digits.resize(count);
    if (!roundUp) {
        return;
    }
    std::size_t position = count;
    while (position > 0 && digits[position - 1] == '9') {
        digits[--position] = '0';
    }
    if (position == 0) {
        digits.assign(1, '1');
        ++record.Exponent;
    } else {
        ++digits[position - 1];
    }
}

void RemoveTrailingZeros(std::string& digits) {
    digits.erase(digits.find_last_not_of('0') + 1);
}

std::string FormatNotFinite(Extended value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

// The grouped form and, without thousands separators, the plain fixed form.
std::string FormatFixed(Extended value, int precision, int decimals, bool grouped) {
    if (!std::isfinite(value)) {
        return FormatNotFinite(value);
    }
    const TDigitRecord record = MakeDigitRecord(value, precision, decimals);
    if (record.Exponent > precision) {
        return FormatGeneral(value, precision);
    }
    const TFormatSeparators& separators = FormatSeparators();
    const int exponent = record.Exponent;
    auto digitAt = [&record](int index) {
        return index < static_cast<int>(record.Digits.size()) ? record.Digits[index] : '0';
    };

    std::string text;
    if (record.Negative) {
        text += '-';
    }
    if (exponent <= 0) {
        text += '0';
    } else {
        for (int index = 0; index < exponent; ++index) {
            if (grouped && index > 0 && (exponent - index) % 3 == 0) {
                text += separators.Thousands;
            }
            text += digitAt(index);
        }
    }
    if (decimals > 0) {
        text += separators.Decimal;
        const int leadingZeros = exponent < 0 ? std::min(-exponent, decimals) : 0;
        text.append(leadingZeros, '0');
        int next = std::max(exponent, 0);
        for (int written = leadingZeros; written < decimals; ++written) {
            text += digitAt(next++);
        }
    }
    return text;
}

}  // namespace

std::string IntToStr(std::int32_t value) {
    return std::to_string(value);
}

std::string IntToPadded(std::int32_t value, int width) {
    return PadLeft(IntToStr(value), width);
}

std::string PadLeft(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) {
        return text;
    }
    return std::string(width - text.size(), ' ') + text;
}

TDigitRecord MakeDigitRecord(Extended value, int precision, int decimals) {
    if (value == 0 || !std::isfinite(value)) {
        return {};
    }
    TDigitRecord record = ExactDecimal(std::fabs(value));
    RoundDigitsAt(record, RecordDigits);

    int keep = record.Exponent + decimals;
    if (keep < 0) {
        return {};
    }
    keep = std::min(keep, precision);
    if (keep < RecordDigits) {
        RoundDigitsAt(record, static_cast<std::size_t>(std::max(keep, 0)));
    }
    RemoveTrailingZeros(record.Digits);
    record.Negative = std::signbit(value);
    return record;
}

std::string FormatExactFixed(Extended value, int decimals) {
    decimals = std::max(decimals, 0);
    if (!std::isfinite(value)) {
        return FormatNotFinite(value);
    }
    TDigitRecord record;
    if (value != 0) {
        record = ExactDecimal(std::fabs(value));
        const int keep = record.Exponent + decimals;
        if (keep < 0) {
            record = {};  // below a tenth of the last decimal
        } else {
            RoundDigitsAt(record, static_cast<std::size_t>(keep));
        }
    }
    const int integerDigits = std::max(record.Exponent, 0);
    // All the digits, the integer ones and exactly decimals after them, with the zeros that
    // the record leaves out before and after its own digits.
    std::string digits(static_cast<std::size_t>(std::max(-record.Exponent, 0)), '0');
    digits += record.Digits;
    digits.resize(static_cast<std::size_t>(integerDigits + decimals), '0');
    std::string text = value < 0 ? "-" : "";
    text += integerDigits > 0 ? digits.substr(0, integerDigits) : "0";
    if (decimals > 0) {
        text += '.';
        text.append(digits, static_cast<std::size_t>(integerDigits));
    }
    return text;
}

std::string FormatGrouped(Extended value, int precision, int decimals) {
    return FormatFixed(value, precision, decimals, true);
}

std::string FormatPlainFixed(Extended value, int precision, int decimals) {
    return FormatFixed(value, precision, decimals, false);
}

std::string FormatGeneral(Extended value, int precision) {
    if (!std::isfinite(value)) {
        return FormatNotFinite(value);
    }
    const TDigitRecord record = MakeDigitRecord(value, precision, AllDecimals);
    if (record.Digits.empty()) {
        return "0";
    }
    const char decimal = FormatSeparators().Decimal;
    const std::string& digits = record.Digits;
    const int exponent = record.Exponent;

    std::string text;
    if (record.Negative) {
        text += '-';
    }
    if (exponent > precision || exponent < -3) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimal;
            text.append(digits, 1);
        }
        text += 'E';
        if (exponent - 1 < 0) {
            text += '-';
        }
        text += std::to_string(std::abs(exponent - 1));
    } else if (exponent <= 0) {
        text += '0';
        text += decimal;
        text.append(-exponent, '0');
        text += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent);
        text.append(digits, 0, integerDigits);
        if (digits.size() < integerDigits) {
            text.append(integerDigits - digits.size(), '0');
        } else if (digits.size() > integerDigits) {
            text += decimal;
            text.append(digits, integerDigits);
        }
    }
    return text;
}

std::string ShortestValueText(const Real48& value) {
    // Each more decimal is the exact value rounded once more finely; the held value has a
    // finite binary expansion, so some count of decimals reads back to it.
    constexpr int MostDecimals = 200;
    const Extended held = value.Widen();
    std::string text;
    for (int decimals = 0; decimals <= MostDecimals; ++decimals) {
        text = FormatExactFixed(held, decimals);
        std::replace(text.begin(), text.end(), '.', FormatSeparators().Decimal);
        if (Real48::Narrow(StrToFloat(text)) == value) {
            break;
        }
    }
    return text;
}
