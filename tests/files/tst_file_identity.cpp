// "The same file" as the identity rule says it, against what writing says: random pairs of
// names (plain, through "..", symbolic links, hard links, case and composition variants) over
// random files present, each pair asked first, then written one after the other and read back:
// the rule says "one file" exactly when the second write replaced the first. The
// folder is a fresh one here, and with MESHLOOM_FOLDING_FOLDER the folder named there too
// (tests/cli/export_file_systems.sh gives it one on exFAT, which folds case).

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/file_identity.h"
#include "files/file_writer.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file ? text.str() : std::string("\n(none)");
}

// The names a trial draws from: case variants, and a name composed and decomposed.
const std::vector<std::string> Names = {"a.NET", "A.net",        "a.net",        "b.NED",
                                        "B.NED", "\xC3\xA9.NET", "\xC3\x89.NET", "e\xCC\x81.NET"};

// One trial in folder: some names made as files, then two spellings of random names.
// Returns false when the file system refused to make what the trial needs (no links on FAT).
bool Trial(const std::string& folder, std::minstd_rand& random, std::string& said) {
    std::system(("rm -rf '" + folder + "/t' && mkdir -p '" + folder + "/t/sub'").c_str());
    const std::string base = folder + "/t/";
    for (const std::string& name : Names) {
        if (random() % 3 == 0 && !std::ifstream(base + name)) {
            std::ofstream(base + name, std::ios::binary) << "there";
        }
    }
    const auto spelling = [&](int which) -> std::string {
        const std::string& name = Names[random() % Names.size()];
        switch (random() % 5) {
            case 0:
                return base + "sub/../" + name;
            case 1:
                return "./" + base.substr(1) + name;  // relative to /, as the kernel walks it
            case 2: {
                const std::string link = base + "link" + std::to_string(which);
                return ::symlink(name.c_str(), link.c_str()) == 0 ? link : std::string();
            }
            case 3: {
                const std::string hard = base + "hard" + std::to_string(which);
                return ::link((base + name).c_str(), hard.c_str()) == 0 ? hard : std::string();
            }
            default:
                return base + name;
        }
    };
    if (::chdir("/") != 0) {
        return false;
    }
    const std::string first = spelling(1);
    const std::string second = spelling(2);
    if (first.empty() || second.empty()) {
        return false;
    }
    const bool one = IsOneFile(first, second);
    if (!WriteWholeFile(first, "first") || !WriteWholeFile(second, "second")) {
        return false;
    }
    said = first + " and " + second;
    // Read back by the names the folder lists: some file systems through FUSE keep showing the
    // replaced file under another spelling of its name for a while. The two are one file when
    // no file holds the first write any more.
    bool firstKept = false;
    if (DIR* listing = ::opendir(base.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            firstKept = firstKept || Read(base + entry->d_name) == "first";
        }
        ::closedir(listing);
    }
    EXPECT_EQ(one, !firstKept) << said;
    return true;
}

void Trials(const std::string& folder) {
    std::minstd_rand random(std::random_device{}());
    int made = 0;
    for (int trial = 0; trial < 400; ++trial) {
        std::string said;
        made += Trial(folder, random, said) ? 1 : 0;
    }
    std::system(("rm -rf '" + folder + "/t'").c_str());
    std::printf("%s: %d trials made of 400\n", folder.c_str(), made);
    EXPECT_GT(made, 100);
}

TEST(FileIdentityTest, SameAnswerAsWritingAndReadingBack) {
    char folder[] = "/tmp/meshloom-identityXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    Trials(folder);
    ::rmdir(folder);
    if (const char* folding = std::getenv("MESHLOOM_FOLDING_FOLDER")) {
        Trials(folding);
    }
}

}  // namespace
