#include "import/network_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "import/distance_tables.h"
#include "import/import_text.h"
#include "import/routing_table.h"
#include "import/test_problems.h"

namespace {

// The length of the UTF-8 character at the start of bytes, or 0 where none starts there
// (overlong forms, surrogates and codes past U+10FFFF are none).
std::size_t Utf8Length(std::string_view bytes) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || bytes.size() < length) {
        return 0;
    }
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return 0;
        }
    }
    const unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
        return 0;
    }
    return length;
}

// The text's bytes judged: no control byte but tab and the line ends; UTF-8, or else the held
// bytes of names.
TImportText JudgedText(std::string_view text) {
    if (text.size() > LargestImportText()) {
        Refuse(0, 0,
               "It is larger than " + std::to_string(LargestImportText()) +
                   " bytes, more than a file to import holds.");
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    TImportText judged{text, true};
    int line = 1;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) {
            char name[8];
            std::snprintf(name, sizeof name, "0x%02X", byte);
            Refuse(line, 0, std::string("the byte ") + name + " is not text");
        }
        line += byte == '\n' || (byte == '\r' && (at + 1 >= text.size() || text[at + 1] != '\n'))
                    ? 1
                    : 0;
        const std::size_t length = judged.Utf8 ? Utf8Length(text.substr(at)) : 1;
        judged.Utf8 = judged.Utf8 && length != 0;
        at += length == 0 ? 1 : length;
    }
    return judged;
}

TImportedValues Read(std::string_view bytes, TRoutingValue choice) {
    const TImportText text = JudgedText(bytes);
    const std::vector<TTextLine> lines = SplitLines(text.Text);
    std::string_view first;
    for (const TTextLine& line : lines) {
        if (!Trimmed(line.Text).empty()) {
            first = Trimmed(line.Text);
            break;
        }
    }
    if (first.empty()) {
        Refuse(0, 0, "The file is empty.");
    }
    if (first.front() == '{') {
        return ReadRoutingTable(text.Text, choice);
    }
    if (LooksLikeTsplib(first)) {
        return ReadTsplib(lines);
    }
    if (LooksLikePMedian(first)) {
        return ReadPMedian(lines);
    }
    return ReadDistanceTable(lines, text.Utf8);
}

// Places so far apart that their distance is no number.
void CheckFinite(const TImportedValues& values) {
    const int n = static_cast<int>(values.Nodes.size());
    for (std::size_t at = 0; at < values.Values.size(); ++at) {
        if (values.Values[at] && !std::isfinite(*values.Values[at])) {
            const int i = static_cast<int>(at) / n + 1;
            const int j = static_cast<int>(at) % n + 1;
            Refuse(0, 0,
                   "The distance from " + QuotedName(values.Nodes[i - 1].Name) + " to " +
                       QuotedName(values.Nodes[j - 1].Name) + " is beyond every number.");
        }
    }
}

bool Fits(double value, double scale) {
    return std::round(value * scale) <= MaxDistance;
}

// The largest value given (the first such in the order of the pairs), 0 where none is above 0.
std::size_t LargestAt(const TImportedValues& values) {
    std::size_t largest = values.Values.size();
    for (std::size_t at = 0; at < values.Values.size(); ++at) {
        if (values.Values[at] && *values.Values[at] > 0 &&
            (largest == values.Values.size() || *values.Values[at] > *values.Values[largest])) {
            largest = at;
        }
    }
    return largest;
}

}  // namespace

std::size_t LargestImportText() {
    return 32 * 1024 * 1024;
}

TImportReading ReadImportText(std::string_view text, TRoutingValue value) {
    TImportReading reading;
    try {
        reading.Values = Read(text, value);
        CheckFinite(*reading.Values);
    } catch (const TImportRefused& refused) {
        reading.Refusal = refused.Refusal;
    }
    return reading;
}

std::string ImportRefusalText(const std::string& fileName, const TImportRefusal& refusal) {
    std::string where;
    if (refusal.Line > 0) {
        where = "Line " + std::to_string(refusal.Line) +
                (refusal.Cell > 0 ? ", cell " + std::to_string(refusal.Cell) : "") + ": ";
    }
    return fileName + ": " + where + refusal.Reason;
}

double LargestFittingScale(const TImportedValues& values) {
    const std::size_t largest = LargestAt(values);
    if (largest == values.Values.size()) {
        return std::numeric_limits<double>::infinity();
    }
    const double value = *values.Values[largest];
    double scale = (MaxDistance + 0.5) / value;
    while (scale > 0 && !Fits(value, scale)) {
        scale = std::nextafter(scale, 0.0);
    }
    while (Fits(value, std::nextafter(scale, HUGE_VAL))) {
        scale = std::nextafter(scale, HUGE_VAL);
    }
    return scale;
}

std::string ScaleText(double scale) {
    if (!(scale < std::numeric_limits<double>::infinity())) {
        return "any";
    }
    if (!(scale > 0)) {
        return "0";
    }
    // Four significant digits, rounded down so that the scale said still fits.
    const double step = std::pow(10.0, std::floor(std::log10(scale)) - 3);
    double shown = std::floor(scale / step) * step;
    while (shown > scale) {
        shown -= step;
    }
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, shown, std::chars_format::general, 4);
    return std::string(text, result.ptr);
}

TScaledImport ScaleImport(const TImportedValues& values, double scale) {
    TScaledImport scaled;
    const int n = static_cast<int>(values.Nodes.size());
    const std::size_t largest = LargestAt(values);
    if (largest != values.Values.size() && !Fits(*values.Values[largest], scale)) {
        const int i = static_cast<int>(largest) / n + 1;
        const int j = static_cast<int>(largest) % n + 1;
        const double value = *values.Values[largest];
        const auto name = [&](int node) {
            return QuotedName(values.Nodes[static_cast<std::size_t>(node - 1)].Name);
        };
        scaled.Refusal = TImportRefusal{
            0, 0,
            "The distance from " + name(i) + " to " + name(j) + ", " + NumberText(value) + ", is " +
                NumberText(std::round(value * scale)) + " at a scale of " + NumberText(scale) +
                ", more than " + std::to_string(MaxDistance) +
                "; every distance fits at a scale of " + ScaleText(LargestFittingScale(values)) +
                " or less."};
        return scaled;
    }
    TOpenedNetwork network;
    network.Nodes = values.Nodes;
    network.PlaceKind = values.PlaceKind;
    network.Links.assign(values.Values.size(), NoLink);
    for (std::size_t at = 0; at < values.Values.size(); ++at) {
        if (values.Values[at]) {
            const auto distance = static_cast<std::int32_t>(std::round(*values.Values[at] * scale));
            network.Links[at] = distance;
            scaled.Links += 1;
            scaled.LargestDistance = std::max(scaled.LargestDistance, distance);
        }
    }
    scaled.Network = std::move(network);
    return scaled;
}
