#include "export/data_files.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "export/file_writer.h"
#include "network/errors.h"
#include "network/network_store.h"

namespace {

__extension__ typedef unsigned __int128 TUInt128;

constexpr int MaxDecimals = 18;  // 2^64 * 10^18 < 2^124: the scaled value fits in 128 bits

constexpr TUInt128 PowerOfTen(int exponent) {
    TUInt128 power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

void AppendPadded(std::string& out, std::string_view text, int width) {
    if (static_cast<int>(text.size()) < width) {
        out.append(width - text.size(), ' ');
    }
    out += text;
}

void AppendInteger(std::string& out, std::int32_t value, int width) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    AppendPadded(out, std::string_view(buffer, end - buffer), width);
}

std::string DecimalDigits(TUInt128 value) {
    // 128-bit division is slow, and the part above 64 bits is rarely there.
    std::string lowDigits;  // last digit first
    while (value > UINT64_MAX) {
        lowDigits += static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    }
    char buffer[20];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(value));
    std::string digits(buffer, end.ptr);
    digits.append(lowDigits.rbegin(), lowDigits.rend());
    return digits;
}

// digits := digits * 2^count, on the decimal digits (for magnitudes beyond 128 bits).
void DoubleDigits(std::string& digits, int count) {
    for (; count > 0; --count) {
        int carry = 0;
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            const int doubled = (*digit - '0') * 2 + carry;
            *digit = static_cast<char>('0' + doubled % 10);
            carry = doubled / 10;
        }
        if (carry != 0) {
            digits.insert(digits.begin(), '1');
        }
    }
}

// The magnitude of value * 10^decimals, rounded to an integer with a half rounding up, as
// decimal digits. Exact: the stored value is significand * 2^exponent with a 64-bit integer
// significand, so the scaled value is an integer times a power of two, and a remainder of
// at least one half shows as the highest bit shifted out. With 3 decimals 2.0625 becomes
// 2062.5 and rounds to 2063; rounding half to even (as the C library's formatting does)
// would give 2062, which is not the format.
std::string RoundedScaledDigits(Extended value, int decimals) {
    int exponent = 0;
    const Extended fraction = std::frexp(std::fabs(value), &exponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    exponent -= 64;
    const TUInt128 scaled = TUInt128{significand} * PowerOfTen(decimals);
    if (exponent >= 0) {
        std::string digits = DecimalDigits(scaled);
        DoubleDigits(digits, exponent);
        return digits;
    }
    const int shift = -exponent;
    if (shift >= 128) {
        return "0";  // scaled < 2^124, so less than a half
    }
    const TUInt128 whole = scaled >> shift;
    const bool halfOrMore = ((scaled >> (shift - 1)) & 1) != 0;
    return DecimalDigits(whole + (halfOrMore ? 1 : 0));
}

void AppendFixedPoint(std::string& out, const Real48& value, int width, int decimals) {
    if (decimals < 0 || decimals > MaxDecimals) {
        throw ERangeError();
    }
    const Extended exact = value.Widen();
    std::string text = RoundedScaledDigits(exact, decimals);
    if (decimals > 0) {
        if (static_cast<int>(text.size()) <= decimals) {
            text.insert(0, decimals + 1 - text.size(), '0');  // 5 with 3 decimals: 0.005
        }
        text.insert(text.size() - decimals, 1, '.');
    }
    if (exact < 0) {
        text.insert(0, 1, '-');
    }
    AppendPadded(out, text, width);
}

constexpr std::string_view LineEnd = "\r\n";

void AppendDemandDataLine(std::string& out, int node, const std::string& name,
                          const Real48& firstDemand, const Real48& secondDemand,
                          const Real48& fixedCost) {
    constexpr int NodeWidth = 4;
    constexpr int ValueWidth = 15;
    constexpr int ValueDecimals = 3;
    AppendInteger(out, node, NodeWidth);
    out += "  ";
    out += "  0.0    0.0    ";
    AppendFixedPoint(out, firstDemand, ValueWidth, ValueDecimals);
    out += "  ";
    AppendFixedPoint(out, secondDemand, ValueWidth, ValueDecimals);
    out += "  ";
    AppendFixedPoint(out, fixedCost, ValueWidth, ValueDecimals);
    out += "   < ";
    out += name;
    out += " >";
    out += LineEnd;
}

}  // namespace

std::string IntegerText(std::int32_t value, int width) {
    std::string text;
    AppendInteger(text, value, width);
    return text;
}

std::string FixedPointText(const Real48& value, int width, int decimals) {
    std::string text;
    AppendFixedPoint(text, value, width, decimals);
    return text;
}

std::string DemandDataLine(int node, const std::string& name, const Real48& firstDemand,
                           const Real48& secondDemand, const Real48& fixedCost) {
    std::string line;
    AppendDemandDataLine(line, node, name, firstDemand, secondDemand, fixedCost);
    return line;
}

std::string DemandDataFileText() {
    std::string text;
    for (int node = 1; node <= Network.NumNodes; ++node) {
        AppendDemandDataLine(text, node, Network.NodeNames[node], Network.FirstDemands[node],
                             Network.SecondDemands[node], Network.FixedCosts[node]);
    }
    return text;
}

std::string DistanceFileText() {
    const int n = Network.NumNodes;
    if (n <= 0) {
        return {};
    }
    // Written in place: 22,500 small appends to a string cost more than the digits.
    constexpr std::size_t LongestLine = 11 + LineEnd.size();  // "-2147483648" CR LF
    std::string text(static_cast<std::size_t>(n) * n * LongestLine, '\0');
    char* out = text.data();
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* row = Network.PathRows[i].Data();
        for (int j = 0; j < n; ++j) {
            out = std::to_chars(out, out + 11, row[j]).ptr;
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    text.resize(out - text.data());
    return text;
}

bool WriteDemandDataFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DemandDataFileText());
}

bool WriteDistanceFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DistanceFileText());
}
