// Reading a network's file from disk: what is not a plain file or is larger than a network, made
// by the system itself (a folder, a pipe with no writer, a link to /dev/zero, 1 GB), is refused.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <string>

#include "files/network_file_reader.h"

namespace {

class NetworkFileReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char folder[] = "/tmp/meshloom-readerXXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        Folder = folder;
    }
    void TearDown() override { std::system(("rm -rf '" + Folder + "'").c_str()); }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(Folder + "/" + name, std::ios::binary) << text;
        return Folder + "/" + name;
    }
    std::string Folder;
};

TEST_F(NetworkFileReaderTest, RefusesWhatIsNoNetworkFileAtOnce) {
    const std::string pipe = Folder + "/pipe.NET", zero = Folder + "/zero.NET";
    const std::string large = Write("large.NET", "");
    ASSERT_TRUE(::mkfifo(pipe.c_str(), 0600) == 0 && ::symlink("/dev/zero", zero.c_str()) == 0 &&
                ::truncate(large.c_str(), 1 << 30) == 0);
    struct TRow {
        std::string Path;
        std::size_t Limit;
        const char* Why;
    };
    const TRow rows[] = {
        {Folder, 1000, "It is a folder, not a file."},
        {pipe, 1000, "It is not a plain file (a pipe, a device or a socket)."},
        {zero, 1000, "It is not a plain file (a pipe, a device or a socket)."},
        {large, 157500, "It is larger than 157500 bytes, more than a network holds."},
        {Write("one.NET", "12345"), 4, "It is larger than 4 bytes, more than a network holds."},
        {Folder + "/missing.NET", 1000, "No such file or directory."},
    };
    for (const TRow& row : rows) {
        const TReadResult read = ReadNetworkFile(row.Path, row.Limit);
        EXPECT_FALSE(read) << row.Path;
        EXPECT_EQ(ReadFailureText(read, row.Limit), row.Why) << row.Path;
        EXPECT_TRUE(read.Text.empty());
    }
    const TReadResult exact = ReadNetworkFile(Write("two.NET", "1\r\n2\r\n"), 6);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact.Text, "1\r\n2\r\n");
}

// The one rule of Open and the save dialogs: the file of any case there is, else the name in
// the case the demand data file's extension suggests.
TEST_F(NetworkFileReaderTest, FindsTheDistanceFileOfTheSameNameInAnyCase) {
    struct TRow {
        const char* Demand;
        const char* Present;  // the distance file made beside it, or none
        const char* Found;
    };
    const TRow rows[] = {
        {"a.NET", "a.NED", "a.NED"}, {"b.net", "b.ned", "b.ned"}, {"c.NET", "c.ned", "c.ned"},
        {"d.NET", "d.nEd", "d.nEd"}, {"e.NET", "E.NED", "e.NED"}, {"f", "f.NED", "f.NED"},
        {"g.NET", nullptr, "g.NED"}, {"h.net", nullptr, "h.ned"}, {"i", nullptr, "i.NED"},
    };
    for (const TRow& row : rows) {
        if (row.Present != nullptr) {
            Write(row.Present, "0\r\n");
        }
        const std::string found = DistanceFileFor(Folder + "/" + row.Demand);
        EXPECT_EQ(found, Folder + "/" + row.Found) << row.Demand;
    }
}

}  // namespace
