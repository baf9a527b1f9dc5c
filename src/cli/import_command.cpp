#include "cli/import_command.h"

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "core/network/network_store.h"
#include "files/file_writer.h"
#include "files/network_file_reader.h"

namespace {

// Standard input whole, up to one byte past limit (which the reading then refuses).
TReadResult ReadStandardInput(std::size_t limit) {
    TReadResult read;
    char buffer[65536];
    while (read.Text.size() <= limit) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, stdin);
        read.Text.append(buffer, count);
        if (count < sizeof buffer) {
            if (std::ferror(stdin)) {
                read.Error = errno != 0 ? errno : EIO;
            }
            break;
        }
    }
    if (read.Text.size() > limit) {
        read.Text.resize(limit + 1);
    }
    return read;
}

}  // namespace

TExportStatus ReadImportedNetwork(const std::string& path, int fd, double scale,
                                  TRoutingValue value) {
    const std::string name = path == "-" ? "standard input" : path;
    const std::size_t limit = LargestImportText();
    const TReadResult read = path == "-" ? ReadStandardInput(limit)
                             : fd >= 0   ? ReadNetworkDescriptor(fd, limit)
                                         : ReadNetworkFile(path, limit);
    if (!read) {
        Say(name + ": " + ReadFailureText(read, limit));
        return read.TooLarge ? TExportStatus::RowRefused : TExportStatus::InputUnreadable;
    }
    const TImportReading reading = ReadImportText(read.Text, value);
    if (reading.Refusal) {
        Say(ImportRefusalText(name, *reading.Refusal));
        return TExportStatus::RowRefused;
    }
    const TImportedValues& values = *reading.Values;
    if (!values.Choices.empty()) {
        Say(ImportRefusalText(name, {0, 0,
                                     "The table holds both \"" + values.Choices[0] + "\" and \"" +
                                         values.Choices[1] + "\"; --value " + values.Choices[0] +
                                         " or --value " + values.Choices[1] + " chooses one."}));
        return TExportStatus::RowRefused;
    }
    const TScaledImport scaled = ScaleImport(values, scale);
    if (scaled.Refusal) {
        Say(ImportRefusalText(name, *scaled.Refusal));
        return TExportStatus::RowRefused;
    }
    const std::size_t nodes = scaled.Network->Nodes.size();
    char scaleText[32];
    const auto scaleEnd = std::to_chars(scaleText, scaleText + sizeof scaleText, scale).ptr;
    Say(name + ": " + values.KindText + ": " + std::to_string(nodes) + " nodes, " +
        std::to_string(scaled.Links) + (scaled.Links == 1 ? " link" : " links") +
        ", largest distance " + std::to_string(scaled.LargestDistance) + ", scale " +
        std::string(scaleText, scaleEnd));
    for (const std::string& note : values.Notes) {
        Say(name + ": " + note);
    }
    PutOpenedNetwork(Network, *scaled.Network);
    TakeOpenedLinks(Network);
    return TExportStatus::Written;
}
