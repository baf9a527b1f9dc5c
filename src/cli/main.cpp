#include <csignal>
#include <exception>
#include <string>
#include <vector>

#include "cli/export_command.h"

int main(int argc, char** argv) {
    // Under a file-size limit (ulimit -f) a write past it fails with EFBIG and is reported, with
    // the earlier file kept, instead of ending the command half way.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        return static_cast<int>(RunExport(std::vector<std::string>(argv + 1, argv + argc)));
    } catch (const std::exception& error) {
        Say(std::string("internal error: ") + error.what());
        return static_cast<int>(TExportStatus::InternalError);
    }
}
