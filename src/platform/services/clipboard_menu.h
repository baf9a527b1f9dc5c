#pragma once

// Copy and paste of a window's list as spreadsheet rows, the desktop's way: a context menu on
// the list with two entries, opened by the right button, the Menu key or Shift+F10, and the
// standard keys. Copy (Ctrl+C, Ctrl+Insert) acts while the list has the focus; Paste (Ctrl+V,
// Shift+Insert) while the list or any other control of the window but a text field has it,
// for a text field keeps its own paste. Both run as handlers (RunHandler). A menu opened from
// the keyboard starts on its first entry that can be chosen, so that a screen reader reads it:
// the first call watches the whole application for that, the text fields' menus included.

#include <QList>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rows/spreadsheet_forms.h"

class QAction;
class QWidget;

// The menu ends with more, after a separator, when it is given (the Undo and Redo entries).
void AddCopyPasteMenu(QWidget& window, QWidget& list, const QString& copyCaption,
                      const std::function<void()>& copy, const QString& pasteCaption,
                      const std::function<void()>& paste, const QList<QAction*>& more = {});

// The clipboard's plain text as UTF-8, as it is: the rows' reader composes the names (NFC)
// as a typed name is composed before it is held (core/file_texts/name_bytes.h), as for rows read by
// meshloom-export; and plain text put on it.
std::string ClipboardText();
void SetClipboardText(const QString& text);

// Puts rows on the clipboard in all their forms at once (core/rows/spreadsheet_forms.h): the
// tab-separated text as plain text, SYLK and the XML cell range, each as UTF-8.
void SetClipboardRows(const std::vector<TSheetRow>& rows);

// Shows why pasted rows were refused as a warning or, when they were read but hold nothing to
// add, the text nothingRead says so with as an information box; false when neither, so that
// the rows are added.
bool ShowPasteRefusal(const std::string& refusal, bool empty, std::string_view nothingRead);
