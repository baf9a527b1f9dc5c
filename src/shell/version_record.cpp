#include "shell/version_record.h"

#include <QFile>
#include <QStringList>
#include <array>
#include <cstring>
#include <vector>

namespace {
constexpr std::uint32_t SectionTypeNote = 7;  // SHT_NOTE
constexpr std::size_t NoteHeaderSize = 12;    // name size, descriptor size, type
constexpr std::size_t RecordSize = 16;        // four 32-bit words
// Notes are small; a larger note section is not read, so garbage cannot make us allocate
// much.
constexpr std::uint64_t LargestNoteSection = 1 << 20;

// A file read piecewise, every read checked against the file's length.
class TElfFile {
  public:
    explicit TElfFile(const QString& path) : File(path) {}

    bool Open() {
        if (!File.open(QIODevice::ReadOnly)) {
            return false;
        }
        Size = static_cast<std::uint64_t>(File.size());
        return true;
    }

    std::uint64_t Length() const { return Size; }

    bool Fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= Size && length <= Size - offset;
    }

    bool Read(std::uint64_t offset, std::uint64_t length, std::vector<unsigned char>& bytes) {
        if (!Fits(offset, length) || !File.seek(static_cast<qint64>(offset))) {
            return false;
        }
        bytes.resize(length);
        return length == 0 || File.read(reinterpret_cast<char*>(bytes.data()),
                                        static_cast<qint64>(length)) == static_cast<qint64>(length);
    }

  private:
    QFile File;
    std::uint64_t Size = 0;
};

// Unsigned integers of 1 to 8 bytes in the byte order of the file. The caller has checked
// that the bytes are there.
class TByteOrder {
  public:
    explicit TByteOrder(bool bigEndian) : BigEndian(bigEndian) {}

    std::uint64_t Get(const unsigned char* bytes, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t index = BigEndian ? i : width - 1 - i;
            value = value << 8 | bytes[index];
        }
        return value;
    }
    std::uint32_t Word(const unsigned char* bytes) const {
        return static_cast<std::uint32_t>(Get(bytes, 4));
    }

  private:
    bool BigEndian;
};

// Where the fields sit in the file header and in a section header, for 32- and 64-bit files.
struct TElfLayout {
    std::size_t HeaderSize;
    std::size_t SectionTableOffsetAt, AddressWidth;
    std::size_t SectionEntrySizeAt, SectionCountAt;
    std::size_t SectionHeaderSize;
    std::size_t TypeAt, OffsetAt, SizeAt, AlignAt;
};
constexpr TElfLayout Elf32Layout{52, 0x20, 4, 0x2E, 0x30, 40, 4, 16, 20, 32};
constexpr TElfLayout Elf64Layout{64, 0x28, 8, 0x3A, 0x3C, 64, 4, 24, 32, 48};

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Looks through the notes of one note section for the version record.
std::optional<TVersionRecord> FindRecordInNotes(const std::vector<unsigned char>& notes,
                                                std::uint64_t alignment, const TByteOrder& order) {
    const std::uint64_t size = notes.size();
    std::uint64_t position = 0;
    while (position <= size && size - position >= NoteHeaderSize) {
        const unsigned char* header = notes.data() + position;
        const std::uint64_t nameSize = order.Word(header);
        const std::uint64_t descriptorSize = order.Word(header + 4);
        const std::uint32_t type = order.Word(header + 8);
        const std::uint64_t nameAt = position + NoteHeaderSize;
        const std::uint64_t descriptorAt = AlignUp(nameAt + nameSize, alignment);
        if (descriptorAt > size || descriptorSize > size - descriptorAt) {
            return std::nullopt;
        }
        if (type == VersionNoteType && nameSize == sizeof VersionNoteName &&
            std::memcmp(notes.data() + nameAt, VersionNoteName, sizeof VersionNoteName) == 0 &&
            descriptorSize >= RecordSize) {
            const unsigned char* words = notes.data() + descriptorAt;
            return TVersionRecord{order.Word(words), order.Word(words + 4), order.Word(words + 8),
                                  order.Word(words + 12)};
        }
        position = AlignUp(descriptorAt + descriptorSize, alignment);
    }
    return std::nullopt;
}
}  // namespace

std::optional<TVersionRecord> ReadVersionRecord(const QString& path) {
    TElfFile file(path);
    std::vector<unsigned char> header;
    if (!file.Open() || !file.Read(0, Elf32Layout.HeaderSize, header)) {
        return std::nullopt;
    }
    if (header[0] != 0x7F || header[1] != 'E' || header[2] != 'L' || header[3] != 'F') {
        return std::nullopt;
    }
    const unsigned char elfClass = header[4];
    const unsigned char elfData = header[5];
    if ((elfClass != 1 && elfClass != 2) || (elfData != 1 && elfData != 2)) {
        return std::nullopt;
    }
    const TElfLayout& layout = elfClass == 1 ? Elf32Layout : Elf64Layout;
    const TByteOrder order(elfData == 2);
    if (!file.Read(0, layout.HeaderSize, header)) {
        return std::nullopt;
    }

    const std::uint64_t tableOffset =
        order.Get(&header[layout.SectionTableOffsetAt], layout.AddressWidth);
    const std::uint64_t entrySize = order.Get(&header[layout.SectionEntrySizeAt], 2);
    std::uint64_t count = order.Get(&header[layout.SectionCountAt], 2);
    if (tableOffset == 0 || entrySize < layout.SectionHeaderSize) {
        return std::nullopt;
    }
    std::vector<unsigned char> section;
    if (count == 0) {
        // More sections than fit the header's field: the count is the first entry's size.
        if (!file.Read(tableOffset, layout.SectionHeaderSize, section)) {
            return std::nullopt;
        }
        count = order.Get(&section[layout.SizeAt], layout.AddressWidth);
    }
    if (!file.Fits(tableOffset, 0) || count > (file.Length() - tableOffset) / entrySize) {
        return std::nullopt;
    }

    std::vector<unsigned char> notes;
    for (std::uint64_t index = 0; index < count; ++index) {
        if (!file.Read(tableOffset + index * entrySize, layout.SectionHeaderSize, section)) {
            return std::nullopt;
        }
        if (order.Word(&section[layout.TypeAt]) != SectionTypeNote) {
            continue;
        }
        const std::uint64_t offset = order.Get(&section[layout.OffsetAt], layout.AddressWidth);
        const std::uint64_t size = order.Get(&section[layout.SizeAt], layout.AddressWidth);
        const std::uint64_t alignment =
            order.Get(&section[layout.AlignAt], layout.AddressWidth) == 8 ? 8 : 4;
        if (size > LargestNoteSection || !file.Read(offset, size, notes)) {
            continue;
        }
        if (auto record = FindRecordInNotes(notes, alignment, order)) {
            return record;
        }
    }
    return std::nullopt;
}

QString VersionText(const TVersionRecord& record) {
    return QStringLiteral("Version %1.%2.%3.%4")
        .arg(record.FileVersionMS >> 16)
        .arg(record.FileVersionMS & 0xFFFF)
        .arg(record.FileVersionLS >> 16)
        .arg(record.FileVersionLS & 0xFFFF);
}

QString FlagWords(const TVersionRecord& record) {
    struct TFlagWord {
        std::uint32_t Bit;
        const char* Word;
    };
    static constexpr std::array<TFlagWord, 4> Words{{
        {1, " Debug"},
        {2, " Beta"},
        {8, " Private"},
        {32, " Special"},
    }};
    const std::uint32_t flags = record.FileFlags & record.FileFlagsMask;
    QString words;
    for (const TFlagWord& flag : Words) {
        if (flags & flag.Bit) {
            words += QLatin1String(flag.Word);
        }
    }
    return words;
}
