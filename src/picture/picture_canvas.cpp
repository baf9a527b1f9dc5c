#include "picture/picture_canvas.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/application/meshloom_application.h"

namespace {

constexpr double Margin = 40;
constexpr double LegendHeight = 44;
constexpr double Radius = 4;
constexpr double Reach = 8;  // how near the pointer must be to a node, in pixels

QColor KindColour(TNodeKind kind) {
    return QColor(QLatin1String(NodeKindColour(kind)));
}

const QColor LinkColour(QLatin1String(PictureColour::Link));
const QColor ArrowColour(QLatin1String(PictureColour::Arrowhead));
const QColor OriginColour(QLatin1String(PictureColour::Origin));
const QColor DestinationColour(QLatin1String(PictureColour::Destination));
const QColor DistanceColour(QLatin1String(PictureColour::Distance));

TPoint PointOf(QPointF p) {
    return {p.x(), p.y()};
}

QPointF QPointOf(TPoint p) {
    return {p.X, p.Y};
}

// The head of an arrow (ArrowheadCorners), where there is room for one.
void DrawArrowhead(QPainter& painter, const std::optional<std::array<TPoint, 3>>& corners) {
    if (!corners) {
        return;
    }
    const QPointF points[3] = {QPointOf((*corners)[0]), QPointOf((*corners)[1]),
                               QPointOf((*corners)[2])};
    painter.drawPolygon(points, 3);
}

// Node's point among points (node i at [i - 1]); the origin for a node without one.
QPointF PointIn(const std::vector<QPointF>& points, int node) {
    return node >= 1 && static_cast<std::size_t>(node) <= points.size()
               ? points[static_cast<std::size_t>(node - 1)]
               : QPointF();
}

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

}  // namespace

TPictureCanvas::TPictureCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setAccessibleName(QStringLiteral("Network picture"));
}

void TPictureCanvas::SetPicture(const TNetworkPicture& picture) {
    if (picture.Network.NumNodes != Drawn.Network.NumNodes) {
        Current = 0;
        Hovered = 0;
    }
    Drawn = picture;
    Links = DrawnLinks(Drawn.Network);
    Describe();
    update();
}

void TPictureCanvas::SetMarks(const TPictureMarks& marks) {
    Shown = marks;
    update();
}

void TPictureCanvas::ZoomBy(double factor, QPointF around) {
    const double scale = std::clamp(Scale * factor, 0.1, 50.0);
    // The point under around stays where it is.
    const QPointF centre = QRectF(rect()).center();
    Offset = around - centre - (around - centre - Offset) * (scale / Scale);
    Scale = scale;
    update();
}

void TPictureCanvas::FitToWindow() {
    Scale = 1;
    Offset = {};
    update();
}

std::vector<QPointF> TPictureCanvas::NodePoints() const {
    const TDrawingView view{Scale, PointOf(QRectF(rect()).center()), PointOf(Offset)};
    std::vector<QPointF> points;
    for (const TPoint& p :
         FittedPositions(Drawn.Positions, width(), height() - LegendHeight, Margin)) {
        points.push_back(QPointOf(Viewed(p, view)));
    }
    return points;
}

QPointF TPictureCanvas::NodePoint(int node) const {
    return PointIn(NodePoints(), node);
}

int TPictureCanvas::NodeAt(QPointF point) const {
    return NodeAt(point, NodePoints());
}

int TPictureCanvas::NodeAt(QPointF point, const std::vector<QPointF>& points) const {
    int nearest = 0;
    double best = Reach;
    for (int node = 1; node <= static_cast<int>(points.size()); ++node) {
        const QPointF at = points[static_cast<std::size_t>(node - 1)];
        const double distance = std::hypot(at.x() - point.x(), at.y() - point.y());
        if (distance <= best) {
            best = distance;
            nearest = node;
        }
    }
    return nearest;
}

QString TPictureCanvas::TipAt(QPointF point) const {
    const TLayoutNetwork& network = Drawn.Network;
    const std::vector<QPointF> points = NodePoints();
    if (const int node = NodeAt(point, points)) {
        const TNodeKind kind = NodeKindOf(Drawn, node);
        return QString::fromStdString(NodeText(network, node)) +
               (kind == TNodeKind::Joined
                    ? QString()
                    : QLatin1Char('\n') + QString::fromLatin1(NodeKindText(kind)));
    }
    for (const TDrawnLink& link : Links) {
        if (SegmentDistance(point, PointIn(points, link.From), PointIn(points, link.To)) <= 4) {
            return QString::fromStdString(NodeText(network, link.From)) +
                   QString::fromLatin1(link.TwoWay ? " <-> " : " -> ") +
                   QString::fromStdString(NodeText(network, link.To)) +
                   QStringLiteral(": distance ") + QString::fromStdString(DistanceLabel(link));
        }
    }
    return {};
}

void TPictureCanvas::Draw(QPainter& painter, QSizeF size, double scale, QPointF offset) const {
    painter.fillRect(QRectF(QPointF(), size), Qt::white);
    const QSizeF area(size.width(), size.height() - LegendHeight);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const TPictureDrawing drawing = PictureDrawing(
        Drawn, Shown,
        {area.width(), area.height(), Margin, Radius,
         TDrawingView{scale, {size.width() / 2, size.height() / 2}, PointOf(offset)}},
        [&](const std::string& text) {
            const QString words = QString::fromStdString(text);
            return TPoint{metrics.horizontalAdvance(words), metrics.height()};
        });
    if (!drawing.LaidOut) {
        painter.drawText(QRectF(QPointF(), size), Qt::AlignCenter,
                         QStringLiteral("Laying out the network..."));
        return;
    }
    // The network above the legend, never over it, however it is zoomed or moved.
    painter.save();
    painter.setClipRect(QRectF(QPointF(), area));
    // Thousands of lines are drawn plain, so that a full network still draws at once.
    painter.setRenderHint(QPainter::Antialiasing, drawing.Lines.size() < 3000);
    painter.setPen(QPen(LinkColour, 1));
    painter.setBrush(ArrowColour);
    for (const TDrawnLine& line : drawing.Lines) {
        painter.drawLine(QPointOf(line.From), QPointOf(line.To));
        DrawArrowhead(painter, line.Arrowhead);
    }
    if (Shown.Distances) {
        painter.setPen(DistanceColour);
        for (const TDrawnLine& line : drawing.Lines) {
            const QSizeF room(line.LabelSize.X, line.LabelSize.Y);
            painter.drawText(
                QRectF(QPointOf(line.LabelCentre) - QPointF(room.width(), room.height()) / 2, room),
                Qt::AlignCenter, QString::fromStdString(line.Label));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t node = 0; node < drawing.Dots.size(); ++node) {
        const TDrawnDot& dot = drawing.Dots[node];
        const QPointF p = QPointOf(dot.At);
        if (dot.Ring != TRing::None) {
            painter.setPen(QPen(dot.Ring == TRing::Origin ? OriginColour : DestinationColour, 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(p, Radius + 4, Radius + 4);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(KindColour(dot.Kind));
        painter.drawEllipse(p, Radius, Radius);
        // A crowded name is shown only for the node picked, pointed at or stood on.
        const int number = static_cast<int>(node) + 1;
        if (drawing.Names[node].Crowded && number != Current && number != Hovered &&
            number != Shown.Origin && number != Shown.Destination) {
            continue;
        }
        painter.setPen(Qt::black);
        const TRect& label = drawing.Names[node].Box;
        painter.drawText(QPointF(label.Left, label.Top + metrics.ascent()),
                         QString::fromStdString(drawing.Names[node].Text));
    }
    painter.restore();

    // The legend along the bottom, each entry after the width of the one before: the links'
    // marks and the rings in the first row, the kinds of node in the second.
    painter.fillRect(QRectF(0, area.height(), size.width(), LegendHeight), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double y = size.height() - LegendHeight + 14, gap = 18;
    const auto words = [&](double& x, double row, const std::string& text) {
        const QString shown = QString::fromStdString(text);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, row + metrics.ascent() / 2 - 1), shown);
        x += metrics.horizontalAdvance(shown) + gap;
    };
    double x = 10;
    for (const TLegendEntry& entry : drawing.Legend) {
        switch (entry.Mark) {
            case TLegendMark::TwoWayLink:
            case TLegendMark::OneWayLink:
                painter.setPen(QPen(LinkColour, 1));
                painter.drawLine(QPointF(x, y), QPointF(x + 30, y));
                if (entry.Mark == TLegendMark::OneWayLink) {
                    painter.setBrush(ArrowColour);
                    DrawArrowhead(painter, ArrowheadCorners({x, y}, {x + 30 + Radius, y}, Radius));
                }
                x += 35;
                words(x, y, entry.Text);
                break;
            case TLegendMark::Origin:
            case TLegendMark::Destination:
                painter.setBrush(Qt::NoBrush);
                painter.setPen(
                    QPen(entry.Mark == TLegendMark::Origin ? OriginColour : DestinationColour, 3));
                painter.drawEllipse(QPointF(x + 6, y), 6, 6);
                x += 16;
                words(x, y, entry.Text);
                break;
            case TLegendMark::CrowdedNames:
                words(x, y, entry.Text);
                break;
            case TLegendMark::Node:
                break;
        }
    }
    x = 10;
    for (const TLegendEntry& entry : drawing.Legend) {
        if (entry.Mark == TLegendMark::Node) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(KindColour(entry.Kind));
            painter.drawEllipse(QPointF(x + 5, y + 20), Radius, Radius);
            x += 14;
            words(x, y + 20, entry.Text);
        }
    }
}

void TPictureCanvas::Render(QPainter& painter, QSizeF size) const {
    // The drawing with its legend, and the summary in a line of its own under them.
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height() + 8;
    painter.fillRect(QRectF(QPointF(), size), Qt::white);
    Draw(painter, QSizeF(size.width(), size.height() - line), 1, {});
    painter.setPen(Qt::black);
    painter.drawText(QRectF(10, size.height() - line, size.width() - 20, line),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(PictureSummary(Drawn)));
}

void TPictureCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, size(), Scale, Offset);
    if (Current > 0 && hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(NodePoint(Current) - QPointF(9, 9), QSizeF(18, 18)));
    }
}

void TPictureCanvas::Pick(int node, bool asDestination) {
    if (node < 1) {
        return;
    }
    Current = node;
    Describe();
    const std::function<void(int)>& picked = asDestination ? OnDestination : OnOrigin;
    if (picked) {
        RunHandler([&] { picked(node); });
    }
    update();
}

void TPictureCanvas::mousePressEvent(QMouseEvent* event) {
    const int node = NodeAt(event->position());
    if (node > 0 && event->button() == Qt::LeftButton) {
        Pick(node, event->modifiers().testFlag(Qt::ShiftModifier));
    } else if (node > 0 && event->button() == Qt::RightButton) {
        Pick(node, true);
    } else if (event->button() == Qt::LeftButton) {
        Dragging = true;
        DragFrom = event->position();
    }
}

void TPictureCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (Dragging) {
        Offset += event->position() - DragFrom;
        DragFrom = event->position();
        update();
        return;
    }
    const int hovered = NodeAt(event->position());
    if (hovered != Hovered) {
        Hovered = hovered;
        update();
    }
    const QString tip = TipAt(event->position());
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), tip, this);
    }
}

void TPictureCanvas::mouseReleaseEvent(QMouseEvent*) {
    Dragging = false;
}

void TPictureCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) {
        ZoomBy(std::pow(1.25, steps), event->position());
    }
    event->accept();
}

void TPictureCanvas::StepTo(QPointF direction) {
    const int n = static_cast<int>(Drawn.Positions.size());
    if (n == 0) {
        return;
    }
    if (Current < 1 || Current > n) {
        Current = 1;
    } else {
        // The nearest node within 60 degrees either side of the direction.
        const std::vector<QPointF> points = NodePoints();
        const QPointF from = PointIn(points, Current);
        int nearest = 0;
        double best = 0;
        for (int node = 1; node <= n; ++node) {
            const QPointF to = PointIn(points, node) - from;
            const double along = QPointF::dotProduct(to, direction);
            const double distance = std::hypot(to.x(), to.y());
            if (node != Current && along > 0.5 * distance && (nearest == 0 || distance < best)) {
                nearest = node;
                best = distance;
            }
        }
        Current = nearest > 0 ? nearest : Current;
    }
    Describe();
    update();
}

void TPictureCanvas::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const QPointF step = event->key() == Qt::Key_Left    ? QPointF(-1, 0)
                         : event->key() == Qt::Key_Right ? QPointF(1, 0)
                         : event->key() == Qt::Key_Up    ? QPointF(0, -1)
                         : event->key() == Qt::Key_Down  ? QPointF(0, 1)
                                                         : QPointF();
    if (!step.isNull() && control) {
        Offset -= step * 40;
        update();
    } else if (!step.isNull()) {
        StepTo(step);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Pick(Current, event->modifiers().testFlag(Qt::ShiftModifier));
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TPictureCanvas::Describe() {
    QString text = QString::fromStdString(PictureDescription(Drawn));
    if (Current > 0 && Current <= Drawn.Network.NumNodes) {
        text += QStringLiteral(" At node ") +
                QString::fromStdString(NodeText(Drawn.Network, Current)) +
                QStringLiteral("; Enter makes it the origin, Shift+Enter the destination.");
    }
    setAccessibleDescription(text);
    emit Described();
}
