#pragma once

// The network's picture painted with Qt from its drawing (drawing/picture_drawing.h), its
// texts measured in the window's font: nodes as dots with their names, two-way links as lines,
// one-way links as arrows, the cut-off nodes in their own colours, the link window's origin and
// destination ringed, and a legend. The pointer over a node or a link shows what it
// is; a click picks a node as the origin, Shift+click or the other button as the destination.
// The wheel and Ctrl+plus/minus zoom, Ctrl+0 fits the whole network, dragging or Ctrl+arrows
// move it. From the keyboard the arrows step to the nearest node in their direction, Enter
// picks it as the origin and Shift+Enter as the destination.

#include <QPointF>
#include <QWidget>
#include <functional>

#include "drawing/picture_drawing.h"

class TPictureCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit TPictureCanvas(QWidget* parent = nullptr);

    // What is drawn; the view (zoom, offset) stays.
    void SetPicture(const TNetworkPicture& picture);
    const TNetworkPicture& Picture() const { return Drawn; }
    void SetMarks(const TPictureMarks& marks);
    const TPictureMarks& Marks() const { return Shown; }

    void ZoomBy(double factor, QPointF around);
    void ZoomIn() { ZoomBy(1.25, rect().center()); }
    void ZoomOut() { ZoomBy(0.8, rect().center()); }
    void FitToWindow();
    double Zoom() const { return Scale; }

    // Where node (1..) is drawn in the widget; and the node drawn within reach of point, or 0.
    QPointF NodePoint(int node) const;
    int NodeAt(QPointF point) const;
    // The node the keyboard stands on, or 0.
    int CurrentNode() const { return Current; }

    // The picture drawn into a painter's area of the given size, as a file shows it: with
    // its summary (PictureSummary) in a line under the legend.
    void Render(QPainter& painter, QSizeF size) const;

    // A node picked with the pointer or the keys: as the origin, or as the destination.
    std::function<void(int node)> OnOrigin;
    std::function<void(int node)> OnDestination;

  signals:
    // The words a screen reader gets changed (a new picture, or the keyboard's node moved).
    void Described();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Where each node is drawn in the widget, node i at [i - 1] (none before a layout), and
    // the node drawn within reach of point among them, or 0.
    std::vector<QPointF> NodePoints() const;
    int NodeAt(QPointF point, const std::vector<QPointF>& points) const;
    void Draw(QPainter& painter, QSizeF size, double scale, QPointF offset) const;
    QString TipAt(QPointF point) const;
    void Pick(int node, bool asDestination);
    void StepTo(QPointF direction);
    void Describe();

    TNetworkPicture Drawn;
    std::vector<TDrawnLink> Links;
    TPictureMarks Shown;
    double Scale = 1;
    QPointF Offset;
    int Current = 0;
    int Hovered = 0;  // the node under the pointer, or 0
    QPointF DragFrom;
    bool Dragging = false;
};
