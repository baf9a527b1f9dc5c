#pragma once

// The program's own options, answered before anything of a display is made: --help and
// --version print to standard output and end the program, with or without a display.

#include <optional>

// The exit status when argv asks for the help or the version (0, or 1 when it could not be
// written, to a full disk say), after printing it, or when it is wrong usage (64: --import
// without its FILE, an option of two dashes the program does not know), after saying so on
// standard error; none otherwise, and the program starts.
// "--" ends the options: what follows is a file's name.
std::optional<int> AnswerInformationOptions(int argc, char** argv);
