#pragma once

// The checks that keep every mode of the command from losing a file: made before anything is
// written, with one meaning of "the same file" (files/file_identity.h). Each returns the
// problem in the command's words, or an empty text.

#include <string>
#include <vector>

// One file of the command, as given: an operand or the picture, read or written.
struct TFileOperand {
    std::string Role;  // how the usage names it: "NODES", "DEMAND_FILE", "--picture"
    std::string Path;  // as given; "-" is standard input or standard output
};

// An input once it is open: its operand and its descriptor.
struct TOpenInput {
    const TFileOperand* File;
    int Descriptor;
};

// Gives each standard stream that was closed when the command started a pipe of its own that
// leads nowhere, so that no file the command opens takes its number and no name of it
// (/dev/stdout, /dev/fd/1, /proc/self/fd/0) reaches that file; the names that lead to such a
// stream are refused by the checks below. Called once, before any file is opened.
void HoldClosedStandardStreams();

// By name, before anything is read: no operand on a closed standard stream, no two outputs
// one file (the null device aside, which takes anything), no output an input that is there (a
// terminal read and written is no file).
std::string OutputProblem(const std::vector<TFileOperand>& inputs,
                          const std::vector<TFileOperand>& outputs);

// Once the inputs are open, before anything is written: no output leads to what an input's
// descriptor holds (a name such as /proc/self/fd/3 names an input only now).
std::string OpenInputProblem(const std::vector<TOpenInput>& inputs,
                             const std::vector<TFileOperand>& outputs);

// Before the first output is written: the folder of every output is there and may be
// written, so that either every output is attempted or none.
std::string OutputFolderProblem(const std::vector<TFileOperand>& outputs);

// Before one output is written, after others were: the problem when it now leads to a file
// just written as one of them, which it would replace.
std::string WrittenAlreadyProblem(const TFileOperand& output,
                                  const std::vector<const TFileOperand*>& written);
