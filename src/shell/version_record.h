#pragma once

// The executable's own version record: the fixed version information the about box shows.
// The build embeds it in the program as an ELF note (version_note.cpp.in), so that the
// program finds it again by reading its own file, and `readelf -n` lists it.

#include <QString>
#include <cstdint>
#include <optional>

struct TVersionRecord {
    std::uint32_t FileVersionMS = 0;  // major in the high half, minor in the low half
    std::uint32_t FileVersionLS = 0;  // release in the high half, build in the low half
    std::uint32_t FileFlagsMask = 0;  // which of FileFlags mean anything
    std::uint32_t FileFlags = 0;
};

// The note that carries the record: owner name "MESHLOOM", this type, and a descriptor of the
// four words of TVersionRecord in their order, in the byte order of the file.
inline constexpr char VersionNoteName[] = "MESHLOOM";
inline constexpr std::uint32_t VersionNoteType = 1;

// Reads the version record of the executable file at path. None when the file cannot be
// read, is no ELF file, is cut short or carries no record; garbage never reads past the end.
std::optional<TVersionRecord> ReadVersionRecord(const QString& path);

// "Version 1.0.2.0": the four numbers in plain decimal.
QString VersionText(const TVersionRecord& record);

// The words of the flags set both in the flags and in the mask, in this order:
// " Debug" (1), " Beta" (2), " Private" (8), " Special" (32). Empty when none is set.
QString FlagWords(const TVersionRecord& record);
