#include "platform/widgets/line_list.h"

#include <QApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStringListModel>

TLineList::TLineList(QWidget* parent) : QListView(parent), Model(new QStringListModel(this)) {
    setModel(Model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    Clock.start();
}

void TLineList::Clear() {
    Model->setStringList({});
    Typed.clear();
}

void TLineList::Append(const QString& line) {
    const int row = Model->rowCount();
    Model->insertRows(row, 1);
    Model->setData(Model->index(row), line);
}

void TLineList::SetLines(const QStringList& lines) {
    Model->setStringList(lines);
    Typed.clear();
}

int TLineList::Count() const {
    return Model->rowCount();
}

QString TLineList::Line(int index) const {
    return Model->data(Model->index(index)).toString();
}

int TLineList::ItemIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TLineList::SetItemIndex(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    setCurrentIndex(Model->index(index));
}

void TLineList::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    Typed.clear();
    // The view makes the first line current, unselected, when it gets the focus; the first
    // Down would then select the second line. With nothing selected, no line is current, so
    // the first Down (or Up) selects the first line.
    if (ItemIndex() < 0) {
        selectionModel()->clearCurrentIndex();
    }
}

QModelIndex TLineList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // With no current line, End goes to the last line and every other move to the first.
    if (!currentIndex().isValid() && action == MoveEnd && Count() > 0) {
        return Model->index(Count() - 1);
    }
    return QListView::moveCursor(action, modifiers);
}

void TLineList::keyPressEvent(QKeyEvent* event) {
    const quint64 pressed = event->timestamp();
    KeyTime = pressed != 0 ? pressed : static_cast<quint64>(Clock.elapsed());
    QListView::keyPressEvent(event);
}

void TLineList::keyboardSearch(const QString& search) {
    if (!FindLine) {
        QListView::keyboardSearch(search);
        return;
    }
    const auto interval = static_cast<quint64>(QApplication::keyboardInputInterval());
    if (search.isEmpty() || KeyTime < TypedTime || KeyTime - TypedTime > interval) {
        Typed.clear();
    }
    Typed += search;
    TypedTime = KeyTime;
    const int line = FindLine(Typed);
    if (line >= 0 && line < Count()) {
        SetItemIndex(line);
        scrollTo(Model->index(line));
    }
}
