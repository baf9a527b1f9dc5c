#pragma once

// A list of text lines with one selectable line, as the node and link windows use it: clear,
// append, read a line, the selected index (or -1) and selecting a line, where a request to
// select past the end is ignored. Built on a list view over a string model with uniform
// line heights, so that refilling it with tens of thousands of lines costs milliseconds.

#include <QListView>
#include <QStringList>

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

  protected:
    void focusInEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    QStringListModel* Model;
};
