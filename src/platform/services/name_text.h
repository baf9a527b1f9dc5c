#pragma once

// Node names between the fields and lists, which hold text, and the store, which holds the
// single-byte names of the demand data file (core/file_texts/name_bytes.h).

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// A typed or pasted name as it is held. Composed forms are used where the set has them, so
// "e" followed by a combining acute is held as the one byte of "é"; a character beyond the
// basic plane becomes one "?", and so does a lone surrogate.
std::string SanitiseNodeName(const QString& typed);

// The name field's warning when the typed name holds a character that a demand data file
// cannot hold (core/file_texts/name_bytes.h), naming it and the name kept; empty otherwise.
QString UnheldCharacterWarning(const QString& typed, std::string_view kept);

// Held bytes as text, for the lists and the name field; a byte that stands for no character
// is shown as "?".
QString NameText(std::string_view bytes);

// Held lines as the lines of a list, each by NameText.
QStringList NameTexts(const std::vector<std::string>& lines);
