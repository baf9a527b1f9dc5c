#pragma once

// A list of text lines with one selectable line, as the node and link windows use it: clear,
// append, read a line, the selected index (or -1) and selecting a line, where a request to
// select past the end is ignored. Built on a list view over a string model with uniform
// line heights, so that refilling it with tens of thousands of lines costs milliseconds.

#include <QElapsedTimer>
#include <QListView>
#include <QStringList>
#include <functional>

class QStringListModel;

class TLineList : public QListView {
    Q_OBJECT
  public:
    explicit TLineList(QWidget* parent = nullptr);

    void Clear();
    void Append(const QString& line);
    // Replaces every line at once; the fast way to refill a long list.
    void SetLines(const QStringList& lines);

    int Count() const;
    QString Line(int index) const;

    // The selected line's zero-based index, or -1 when no line is selected.
    int ItemIndex() const;
    // Selects the line at index; an index outside the list is ignored.
    void SetItemIndex(int index);

    // Find by typing: the characters typed into the list in quick succession, each within the
    // desktop's keyboard input interval of the one before by the key events' own times, make
    // one text, and the line that FindLine gives for it is selected (-1 leaves the selection).
    // A longer pause, the focus coming back or the lines refilled start a new text. Without
    // FindLine the list finds as any list view does.
    std::function<int(const QString& typed)> FindLine;
    void keyboardSearch(const QString& search) override;

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    QStringListModel* Model;
    QString Typed;
    // When the key being handled was pressed and when the last one that found was, in ms.
    quint64 KeyTime = 0;
    quint64 TypedTime = 0;
    // The time of a key event that carries none.
    QElapsedTimer Clock;
};
