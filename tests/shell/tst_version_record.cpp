// The version record: read back from our own program, refused for files that carry none or
// are cut short or garbled, and turned into the about box's two texts.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "shell/version_record.h"

namespace {
// A minimal ELF file: the file header, one note section, and a section table of two entries
// (the null entry and the notes), in either class and byte order.
struct TElfImage {
    QByteArray Bytes;
    bool Is64 = true;
    bool BigEndian = false;
    int SectionTableAt = 0;
    int NotesAt = 0;

    void Put(qsizetype at, quint64 value, int width) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (BigEndian ? width - 1 - i : i);
            Bytes[at + i] = static_cast<char>((value >> shift) & 0xFF);
        }
    }
    int AddressWidth() const { return Is64 ? 8 : 4; }
    int SectionHeaderSize() const { return Is64 ? 64 : 40; }

    // File header fields.
    void SetSectionTableOffset(quint64 offset) { Put(Is64 ? 0x28 : 0x20, offset, AddressWidth()); }
    void SetSectionEntrySize(quint64 size) { Put(Is64 ? 0x3A : 0x2E, size, 2); }
    void SetSectionCount(quint64 count) { Put(Is64 ? 0x3C : 0x30, count, 2); }

    // Fields of section table entry index.
    qsizetype Entry(int index) const { return SectionTableAt + index * SectionHeaderSize(); }
    void SetSectionOffset(int index, quint64 offset) {
        Put(Entry(index) + (Is64 ? 24 : 16), offset, AddressWidth());
    }
    void SetSectionSize(int index, quint64 size) {
        Put(Entry(index) + (Is64 ? 32 : 20), size, AddressWidth());
    }
};

QByteArray Word(quint32 value, bool bigEndian) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * (bigEndian ? 3 - i : i))) & 0xFF);
    }
    return bytes;
}

// One note: name (its terminating zero included in the size) and descriptor, each padded to
// four bytes.
QByteArray Note(const QByteArray& name, quint32 type, const QList<quint32>& words, bool bigEndian) {
    QByteArray note = Word(static_cast<quint32>(name.size() + 1), bigEndian) +
                      Word(static_cast<quint32>(words.size() * 4), bigEndian) +
                      Word(type, bigEndian);
    QByteArray paddedName = name + '\0';
    while (paddedName.size() % 4 != 0) {
        paddedName += '\0';
    }
    note += paddedName;
    for (quint32 word : words) {
        note += Word(word, bigEndian);
    }
    return note;
}

QByteArray RecordNote(const QList<quint32>& words, bool bigEndian = false) {
    return Note("MESHLOOM", 1, words, bigEndian);
}

TElfImage BuildElf(const QByteArray& notes, bool is64 = true, bool bigEndian = false) {
    TElfImage image;
    image.Is64 = is64;
    image.BigEndian = bigEndian;
    const int headerSize = is64 ? 64 : 52;
    image.NotesAt = headerSize;
    image.SectionTableAt = static_cast<int>((headerSize + notes.size() + 7) / 8 * 8);
    image.Bytes = QByteArray(image.SectionTableAt + 2 * image.SectionHeaderSize(), '\0');
    image.Bytes[0] = '\x7F';
    image.Bytes[1] = 'E';
    image.Bytes[2] = 'L';
    image.Bytes[3] = 'F';
    image.Bytes[4] = is64 ? 2 : 1;
    image.Bytes[5] = bigEndian ? 2 : 1;
    image.Bytes[6] = 1;
    image.Bytes.replace(image.NotesAt, notes.size(), notes);
    image.SetSectionTableOffset(static_cast<quint64>(image.SectionTableAt));
    image.SetSectionEntrySize(static_cast<quint64>(image.SectionHeaderSize()));
    image.SetSectionCount(2);
    image.Put(image.Entry(1) + 4, 7, 4);  // SHT_NOTE
    image.SetSectionOffset(1, static_cast<quint64>(image.NotesAt));
    image.SetSectionSize(1, static_cast<quint64>(notes.size()));
    image.Put(image.Entry(1) + (is64 ? 48 : 32), 4, image.AddressWidth());  // alignment
    return image;
}

bool SameRecord(const TVersionRecord& a, const TVersionRecord& b) {
    return a.FileVersionMS == b.FileVersionMS && a.FileVersionLS == b.FileVersionLS &&
           a.FileFlagsMask == b.FileFlagsMask && a.FileFlags == b.FileFlags;
}

const QList<quint32> ReleaseWords{0x00010000, 0x00020000, 63, 0};
}  // namespace

class TestVersionRecord : public QObject {
    Q_OBJECT

    QTemporaryDir Folder;
    int FilesWritten = 0;

    QString WriteFile(const QByteArray& bytes) {
        const QString path = Folder.filePath(QStringLiteral("file%1").arg(++FilesWritten));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }

    static QByteArray ProgramBytes() {
        QFile program(QStringLiteral(MESHLOOM_EXECUTABLE));
        if (!program.open(QIODevice::ReadOnly)) {
            qFatal("cannot read the program");
        }
        return program.readAll();
    }

  private slots:
    void initTestCase() { QVERIFY(Folder.isValid()); }

    void ourProgramCarriesThisRelease() {
        const auto record = ReadVersionRecord(QStringLiteral(MESHLOOM_EXECUTABLE));
        QVERIFY(record.has_value());
        QVERIFY(SameRecord(*record, {0x00010000, 0x00020000, 63, 0}));
        QCOMPARE(VersionText(*record), QStringLiteral("Version 1.0.2.0"));
        QCOMPARE(FlagWords(*record), QString());
    }

    void filesWithoutARecord_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("Version 1.0.2.0\n");
        QTest::newRow("magic only") << QByteArray(
            "\x7F"
            "ELF");
        QTest::newRow("bad class") << QByteArray(
                                          "\x7F"
                                          "ELF\x03\x01")
                                          .leftJustified(64, '\0');
        QTest::newRow("no section table") << BuildElf(RecordNote(ReleaseWords)).Bytes.left(64);
        QTest::newRow("other notes only") << BuildElf(Note("GNU", 1, {0, 3, 2, 0}, false)).Bytes;
        QTest::newRow("name differs") << BuildElf(Note("MESHLOON", 1, ReleaseWords, false)).Bytes;
        QTest::newRow("type differs") << BuildElf(Note("MESHLOOM", 2, ReleaseWords, false)).Bytes;
        QTest::newRow("descriptor short")
            << BuildElf(RecordNote({0x00010000, 0x00020000, 63})).Bytes;
    }
    void filesWithoutARecord() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ReadVersionRecord(WriteFile(bytes)).has_value());
    }

    void unreadablePaths() {
        QVERIFY(!ReadVersionRecord(Folder.filePath(QStringLiteral("missing"))).has_value());
        QVERIFY(!ReadVersionRecord(Folder.path()).has_value());
        QVERIFY(!ReadVersionRecord(QString()).has_value());
    }

    // The test program itself is an ELF file that carries no record.
    void anExecutableWithoutARecord() {
        QVERIFY(!ReadVersionRecord(QCoreApplication::applicationFilePath()).has_value());
    }

    // Cut anywhere, the program loses its section table, which comes last: nothing is read,
    // and nothing is read past the end.
    void ourProgramCutShort() {
        const QByteArray program = ProgramBytes();
        const qsizetype noteAt = program.indexOf(QByteArray("MESHLOOM\0", 9));
        QVERIFY(noteAt > 0);
        const QList<qsizetype> lengths{0,
                                       1,
                                       4,
                                       5,
                                       51,
                                       52,
                                       63,
                                       64,
                                       noteAt,
                                       noteAt + 20,
                                       program.size() / 2,
                                       program.size() - 64,
                                       program.size() - 1};
        for (qsizetype length : lengths) {
            QVERIFY2(!ReadVersionRecord(WriteFile(program.left(length))).has_value(),
                     qPrintable(QStringLiteral("cut at %1").arg(length)));
        }
    }

    void eitherClassAndByteOrder_data() {
        QTest::addColumn<bool>("is64");
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("64-bit, little-endian") << true << false;
        QTest::newRow("64-bit, big-endian") << true << true;
        QTest::newRow("32-bit, little-endian") << false << false;
        QTest::newRow("32-bit, big-endian") << false << true;
    }
    void eitherClassAndByteOrder() {
        QFETCH(bool, is64);
        QFETCH(bool, bigEndian);
        const QByteArray notes = Note("GNU", 1, {0, 3, 2, 0}, bigEndian) +
                                 RecordNote({0x0002000A, 0x0000000F, 63, 33}, bigEndian);
        const auto record = ReadVersionRecord(WriteFile(BuildElf(notes, is64, bigEndian).Bytes));
        QVERIFY(record.has_value());
        QVERIFY(SameRecord(*record, {0x0002000A, 0x0000000F, 63, 33}));
    }

    // More sections than the header's count field holds: the count stands in the first entry.
    void sectionCountInTheFirstEntry() {
        TElfImage image = BuildElf(RecordNote(ReleaseWords));
        image.SetSectionCount(0);
        image.SetSectionSize(0, 2);
        QVERIFY(ReadVersionRecord(WriteFile(image.Bytes)).has_value());
    }

    void garbledFields_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray notes = RecordNote(ReleaseWords);
        const auto garble = [&](auto change) {
            TElfImage image = BuildElf(notes);
            change(image);
            return image.Bytes;
        };
        QTest::newRow("table past the end") << garble(
            [](TElfImage& image) { image.SetSectionTableOffset(quint64(image.Bytes.size()) + 8); });
        QTest::newRow("table offset wraps around")
            << garble([](TElfImage& image) { image.SetSectionTableOffset(~quint64(0) - 15); });
        QTest::newRow("entries too small")
            << garble([](TElfImage& image) { image.SetSectionEntrySize(16); });
        QTest::newRow("more entries than the file holds")
            << garble([](TElfImage& image) { image.SetSectionCount(60000); });
        QTest::newRow("huge count in the first entry") << garble([](TElfImage& image) {
            image.SetSectionCount(0);
            image.SetSectionSize(0, ~quint64(0));
        });
        QTest::newRow("notes past the end") << garble(
            [](TElfImage& image) { image.SetSectionOffset(1, quint64(image.Bytes.size()) - 8); });
        QTest::newRow("notes size wraps around")
            << garble([](TElfImage& image) { image.SetSectionSize(1, ~quint64(0)); });
        QTest::newRow("notes cut inside the record")
            << garble([](TElfImage& image) { image.SetSectionSize(1, 30); });
        QTest::newRow("name size huge")
            << garble([](TElfImage& image) { image.Put(image.NotesAt, 0xFFFFFFFF, 4); });
        QTest::newRow("descriptor size huge")
            << garble([](TElfImage& image) { image.Put(image.NotesAt + 4, 0xFFFFFFFC, 4); });
    }
    void garbledFields() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ReadVersionRecord(WriteFile(bytes)).has_value());
    }

    void versionText_data() {
        QTest::addColumn<quint32>("ms");
        QTest::addColumn<quint32>("ls");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << 0x00010000u << 0x00020000u << "Version 1.0.2.0";
        QTest::newRow("numbers above 9 in full")
            << 0x0002000Au << 0x0000000Fu << "Version 2.10.0.15";
        QTest::newRow("largest") << 0xFFFFFFFFu << 0xFFFFFFFFu << "Version 65535.65535.65535.65535";
    }
    void versionText() {
        QFETCH(quint32, ms);
        QFETCH(quint32, ls);
        QFETCH(QString, text);
        QCOMPARE(VersionText({ms, ls, 63, 0}), text);
    }

    void flagWords_data() {
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QString>("words");
        QTest::newRow("none") << 0u << 63u << "";
        QTest::newRow("debug and special") << 33u << 63u << " Debug Special";
        QTest::newRow("debug and pre-release") << 3u << 63u << " Debug Beta";
        QTest::newRow("all four in table order") << 63u << 63u << " Debug Beta Private Special";
        QTest::newRow("patched and inferred are not shown") << 20u << 63u << "";
        QTest::newRow("a flag outside the mask adds nothing") << 33u << 1u << " Debug";
        QTest::newRow("empty mask") << 63u << 0u << "";
        QTest::newRow("bits above the table") << 0xFFFFFFC0u << 0xFFFFFFFFu << "";
    }
    void flagWords() {
        QFETCH(quint32, flags);
        QFETCH(quint32, mask);
        QFETCH(QString, words);
        QCOMPARE(FlagWords({0x00010000, 0x00020000, mask, flags}), words);
    }
};

QTEST_GUILESS_MAIN(TestVersionRecord)
#include "tst_version_record.moc"
