#include "cli/rows_command.h"

#include <optional>

#include "core/file_texts/data_files.h"
#include "core/file_texts/name_bytes.h"
#include "core/network/network_store.h"
#include "core/rows/link_rows.h"
#include "core/rows/node_rows.h"
#include "files/network_file_reader.h"

namespace {

std::optional<std::string> ReadOrSay(const std::string& path, std::size_t limit) {
    TReadResult read = ReadNetworkFile(path, limit);
    if (!read) {
        Say(path + ": " + ReadFailureText(read, limit));
        return std::nullopt;
    }
    return std::move(read.Text);
}

}  // namespace

TExportStatus ReadSavedRows(const std::string& demandPath, const std::string& distancePath,
                            std::string& nodeRows, std::string& linkRows) {
    const auto demand = ReadOrSay(demandPath, LargestDemandDataText());
    const auto distances = demand ? ReadOrSay(distancePath, LargestDistanceText()) : std::nullopt;
    if (!distances) {
        return TExportStatus::InputUnreadable;
    }
    const TOpenedReading reading = ReadOpenedNetwork(*demand, *distances);
    if (!reading.Network) {
        Say((reading.InDistanceFile ? distancePath : demandPath) + ": " +
            FileRefusalText(reading.Refusal));
        return TExportStatus::RowRefused;
    }
    PutOpenedNetwork(Network, *reading.Network);
    TakeOpenedLinks(Network);
    nodeRows = TextOfNameBytes(NodeRowsText(Network));
    linkRows = TextOfNameBytes(LinkRowsText(Network));
    return TExportStatus::Written;
}
