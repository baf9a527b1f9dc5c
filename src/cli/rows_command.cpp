#include "cli/rows_command.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "core/link_rows.h"
#include "core/name_bytes.h"
#include "core/network_store.h"
#include "core/node_rows.h"
#include "core/opened_network.h"
#include "files/file_writer.h"
#include "files/network_file_reader.h"

namespace {

void Say(const std::string& message) {
    std::fprintf(stderr, "meshloom-export: %s\n", message.c_str());
}

std::optional<std::string> ReadOrSay(const std::string& path, std::size_t limit) {
    TReadResult read = ReadNetworkFile(path, limit);
    if (!read) {
        Say(path + ": " + ReadFailureText(read, limit));
        return std::nullopt;
    }
    return std::move(read.Text);
}

// Writes text to the file at path, or to standard output for "-"; says why not.
bool WriteOrSay(const std::string& path, const std::string& text) {
    if (path == "-") {
        const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                             std::fflush(stdout) == 0;
        if (!written) {
            Say("standard output: " + std::string(std::strerror(errno)));
        }
        return written;
    }
    const TWriteResult result = WriteWholeFile(path, text);
    if (!result) {
        Say(path + ": " + std::strerror(result.Error));
    }
    return result;
}

}  // namespace

TExportStatus RunRows(const std::vector<std::string>& operands) {
    if (operands.size() != 4) {
        Say(operands.size() < 4 ? "missing operand" : "extra operand '" + operands[4] + "'");
        std::fprintf(stderr, "Try 'meshloom-export --help' for more information.\n");
        return TExportStatus::Usage;
    }
    const auto demand = ReadOrSay(operands[0], LargestDemandDataText());
    const auto distances = demand ? ReadOrSay(operands[1], LargestDistanceText()) : std::nullopt;
    if (!distances) {
        return TExportStatus::InputUnreadable;
    }
    const TOpenedReading reading = ReadOpenedNetwork(*demand, *distances);
    if (!reading.Network) {
        Say(operands[reading.InDistanceFile ? 1 : 0] + ": " + FileRefusalText(reading.Refusal));
        return TExportStatus::RowRefused;
    }
    PutOpenedNetwork(Network, *reading.Network);
    TakeOpenedLinks(Network);
    const bool nodesWritten = WriteOrSay(operands[2], TextOfNameBytes(NodeRowsText(Network)));
    const bool linksWritten = WriteOrSay(operands[3], TextOfNameBytes(LinkRowsText(Network)));
    return nodesWritten && linksWritten ? TExportStatus::Written : TExportStatus::NotWritten;
}
