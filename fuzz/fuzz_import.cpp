// Importing a network from another form: any text gives either a refusal or a network of 2 to
// 150 nodes whose values are whole distances from 0 to 10000 once scaled, whose names a demand
// data file holds, and whose demand data text opens again; a network refused at scale 1 for a
// value too large fits at the largest scale the refusal names.
//
// Input: the text of a file, as Import Network reads it (a routing table with both arrays read
// again with its durations).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/file_texts/data_files.h"
#include "core/file_texts/name_bytes.h"
#include "core/network/network_store.h"
#include "fuzz_input.h"
#include "import/network_import.h"

namespace {

void CheckScaled(const TImportedValues& values, double scale) {
    const TScaledImport scaled = ScaleImport(values, scale);
    if (scaled.Refusal) {
        return;
    }
    const TOpenedNetwork& network = *scaled.Network;
    const int n = static_cast<int>(network.Nodes.size());
    int links = 0;
    int largest = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const std::int32_t link = network.Links[MatrixIndex(n, i, j)];
            FUZZ_CHECK(link == NoLink || (link >= 0 && link <= MaxDistance),
                       "(%d,%d) holds %d at scale %g", i, j, link, scale);
            if (i != j && link != NoLink) {
                ++links;
                largest = link > largest ? link : largest;
            }
        }
    }
    FUZZ_CHECK(links == scaled.Links, "%d links counted, %d said", links, scaled.Links);
    FUZZ_CHECK(largest == scaled.LargestDistance, "largest %d, said %d", largest,
               scaled.LargestDistance);
    ResetNetworkStore();
    PutOpenedNetwork(Network, network);
    const TDemandDataReading read = ReadDemandDataText(DemandDataFileText(Network));
    FUZZ_CHECK(!read.Refusal && read.Nodes.size() == network.Nodes.size(),
               "the demand data written of %d nodes does not open again: %s", n,
               read.Refusal ? FileRefusalText(*read.Refusal).c_str() : "other count");
    DropOpenedLinks(Network);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TImportReading reading = ReadImportText(text);
    if (reading.Values && !reading.Values->Choices.empty()) {
        reading = ReadImportText(text, TRoutingValue::Durations);
    }
    if (!reading.Values) {
        FUZZ_CHECK(reading.Refusal && !reading.Refusal->Reason.empty(), "neither values nor why");
        return 0;
    }
    const TImportedValues& values = *reading.Values;
    const std::size_t n = values.Nodes.size();
    FUZZ_CHECK(n >= 2 && n <= static_cast<std::size_t>(MaxNodes), "%zu nodes", n);
    FUZZ_CHECK(values.Values.size() == n * n, "%zu values for %zu nodes", values.Values.size(), n);
    for (const std::optional<double>& value : values.Values) {
        FUZZ_CHECK(!value || (std::isfinite(*value) && *value >= 0), "a value of %g", *value);
    }
    for (const TNodeSlot& node : values.Nodes) {
        FUZZ_CHECK(!FirstUnheldByte(node.Name) && node.Name.size() <= LongestNodeName,
                   "a name no demand data file holds (%zu bytes)", node.Name.size());
    }
    CheckScaled(values, 1.0);
    const double fits = LargestFittingScale(values);
    if (std::isfinite(fits) && fits > 0 && fits < 1) {
        FUZZ_CHECK(!ScaleImport(values, fits).Refusal, "refused at the fitting scale %g", fits);
        CheckScaled(values, fits);
    }
    return 0;
}
