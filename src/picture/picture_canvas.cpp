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

#include "core/file_texts/name_bytes.h"
#include "platform/application/meshloom_application.h"

namespace {

constexpr double Margin = 40;
constexpr double LegendHeight = 44;
constexpr double Radius = 4;
constexpr double Reach = 8;  // how near the pointer must be to a node, in pixels

QColor KindColour(TNodeKind kind) {
    switch (kind) {
        case TNodeKind::Unreached:
            return QColor(0xc0, 0x39, 0x2b);
        case TNodeKind::Unreaching:
            return QColor(0xe6, 0x7e, 0x22);
        case TNodeKind::Isolated:
            return QColor(0x8e, 0x44, 0xad);
        case TNodeKind::Joined:
            break;
    }
    return QColor(0x2c, 0x3e, 0x50);
}

const QColor LinkColour(0x7f, 0x8c, 0x8d);
const QColor OriginColour(0x27, 0xae, 0x60);
const QColor DestinationColour(0x29, 0x80, 0xb9);

QString NodeText(const TLayoutNetwork& network, int node) {
    return QString::number(node) + QLatin1Char(' ') +
           QString::fromStdString(
               TextOfNameBytes(network.Names[static_cast<std::size_t>(node - 1)]));
}

TPoint PointOf(QPointF p) {
    return {p.x(), p.y()};
}

QPointF QPointOf(TPoint p) {
    return {p.X, p.Y};
}

// The head of an arrow from from whose tip touches the edge of the dot at to.
void Arrowhead(QPainter& painter, QPointF from, QPointF to) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    if (length <= Radius + 2) {
        return;
    }
    const QPointF unit = along / length, across(-unit.y(), unit.x());
    const QPointF tip = to - unit * Radius;
    const QPointF points[3] = {tip, tip - unit * 9 + across * 4, tip - unit * 9 - across * 4};
    painter.drawPolygon(points, 3);
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

std::vector<TPoint> TPictureCanvas::Fitted(QSizeF size) const {
    return FittedPositions(Drawn.Positions, size.width(), size.height() - LegendHeight, Margin);
}

QPointF TPictureCanvas::NodePoint(int node) const {
    const std::vector<TPoint> fitted = Fitted(size());
    if (node < 1 || static_cast<std::size_t>(node) > fitted.size()) {
        return {};
    }
    const TPoint& p = fitted[static_cast<std::size_t>(node - 1)];
    const QPointF centre = QRectF(rect()).center();
    return centre + (QPointF(p.X, p.Y) - centre) * Scale + Offset;
}

int TPictureCanvas::NodeAt(QPointF point) const {
    int nearest = 0;
    double best = Reach;
    for (int node = 1; node <= static_cast<int>(Drawn.Positions.size()); ++node) {
        const QPointF at = NodePoint(node);
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
    if (const int node = NodeAt(point)) {
        const TNodeKind kind = NodeKindOf(Drawn, node);
        return NodeText(network, node) +
               (kind == TNodeKind::Joined
                    ? QString()
                    : QLatin1Char('\n') + QString::fromLatin1(NodeKindText(kind)));
    }
    for (const TDrawnLink& link : Links) {
        if (SegmentDistance(point, NodePoint(link.From), NodePoint(link.To)) <= 4) {
            return NodeText(network, link.From) +
                   QString::fromLatin1(link.TwoWay ? " <-> " : " -> ") +
                   NodeText(network, link.To) + QStringLiteral(": distance ") +
                   QString::fromStdString(DistanceLabel(link));
        }
    }
    return {};
}

void TPictureCanvas::Draw(QPainter& painter, QSizeF size, double scale, QPointF offset) const {
    painter.fillRect(QRectF(QPointF(), size), Qt::white);
    const QSizeF area(size.width(), size.height() - LegendHeight);
    const std::vector<TPoint> fitted =
        FittedPositions(Drawn.Positions, area.width(), area.height(), Margin);
    const QPointF centre(size.width() / 2, size.height() / 2);
    std::vector<TPoint> at;
    for (const TPoint& p : fitted) {
        at.push_back(PointOf(centre + (QPointF(p.X, p.Y) - centre) * scale + offset));
    }
    const auto point = [&](int node) { return QPointOf(at[static_cast<std::size_t>(node - 1)]); };
    if (at.size() != static_cast<std::size_t>(Drawn.Network.NumNodes)) {
        painter.drawText(QRectF(QPointF(), size), Qt::AlignCenter,
                         QStringLiteral("Laying out the network..."));
        return;
    }
    // The network above the legend, never over it, however it is zoomed or moved.
    painter.save();
    painter.setClipRect(QRectF(QPointF(), area));
    std::vector<TRect> arrowheads;
    for (const TDrawnLink& link : Links) {
        if (!link.TwoWay) {
            arrowheads.push_back(
                ArrowheadBox(PointOf(point(link.From)), PointOf(point(link.To)), Radius));
        }
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    std::vector<QString> names;
    std::vector<TPoint> sizes;
    for (int node = 1; node <= static_cast<int>(at.size()); ++node) {
        names.push_back(NodeText(Drawn.Network, node).section(QLatin1Char(' '), 1));
        sizes.push_back({metrics.horizontalAdvance(names.back()), metrics.height()});
    }
    const std::vector<TRect> labels =
        PlaceNames(at, sizes, Radius, arrowheads, {0, 0, area.width(), area.height()});
    // Thousands of lines are drawn plain, so that a full network still draws at once.
    painter.setRenderHint(QPainter::Antialiasing, Links.size() < 3000);
    painter.setPen(QPen(LinkColour, 1));
    painter.setBrush(QColor(0x34, 0x49, 0x5e));
    for (const TDrawnLink& link : Links) {
        const auto [from, to] = LinkLineEnds(at[static_cast<std::size_t>(link.From - 1)],
                                             at[static_cast<std::size_t>(link.To - 1)], Radius);
        painter.drawLine(QPointOf(from), QPointOf(to));
        if (!link.TwoWay) {
            Arrowhead(painter, point(link.From), point(link.To));
        }
    }
    if (Shown.Distances) {
        painter.setPen(QColor(0x16, 0xa0, 0x85));
        for (const TDrawnLink& link : Links) {
            const QString label = QString::fromStdString(DistanceLabel(link));
            const QSizeF room(metrics.horizontalAdvance(label), metrics.height());
            const TPoint middle = PlaceOnLine(at[static_cast<std::size_t>(link.From - 1)],
                                              at[static_cast<std::size_t>(link.To - 1)],
                                              {room.width(), room.height()}, labels, at, Radius);
            painter.drawText(
                QRectF(QPointOf(middle) - QPointF(room.width(), room.height()) / 2, room),
                Qt::AlignCenter, label);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int node = 1; node <= static_cast<int>(at.size()); ++node) {
        const QPointF p = point(node);
        if (node == Shown.Origin || node == Shown.Destination) {
            painter.setPen(QPen(node == Shown.Origin ? OriginColour : DestinationColour, 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(p, Radius + 4, Radius + 4);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(KindColour(NodeKindOf(Drawn, node)));
        painter.drawEllipse(p, Radius, Radius);
        painter.setPen(Qt::black);
        const TRect& label = labels[static_cast<std::size_t>(node - 1)];
        painter.drawText(QPointF(label.Left, label.Top + metrics.ascent()),
                         names[static_cast<std::size_t>(node - 1)]);
    }
    painter.restore();

    // The legend along the bottom, each entry after the width of the one before.
    painter.fillRect(QRectF(0, area.height(), size.width(), LegendHeight), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double y = size.height() - LegendHeight + 14, gap = 18;
    const auto words = [&](double& x, const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, y + metrics.ascent() / 2 - 1), text);
        x += metrics.horizontalAdvance(text) + gap;
    };
    double x = 10;
    painter.setPen(QPen(LinkColour, 1));
    painter.drawLine(QPointF(x, y), QPointF(x + 30, y));
    x += 35;
    words(x, QStringLiteral("two-way link"));
    painter.setPen(QPen(LinkColour, 1));
    painter.drawLine(QPointF(x, y), QPointF(x + 30, y));
    painter.setBrush(QColor(0x34, 0x49, 0x5e));
    Arrowhead(painter, QPointF(x, y), QPointF(x + 30 + Radius, y));
    x += 35;
    words(x, QStringLiteral("one-way link"));
    painter.setBrush(Qt::NoBrush);
    for (const bool origin : {true, false}) {
        painter.setPen(QPen(origin ? OriginColour : DestinationColour, 3));
        painter.drawEllipse(QPointF(x + 6, y), 6, 6);
        x += 16;
        words(x, origin ? QStringLiteral("origin") : QStringLiteral("destination"));
    }
    x = 10;
    for (const TNodeKind kind : MarkedNodeKinds) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(KindColour(kind));
        painter.drawEllipse(QPointF(x + 5, y + 20), Radius, Radius);
        x += 14;
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, y + 20 + metrics.ascent() / 2 - 1),
                         QString::fromLatin1(NodeKindText(kind)));
        x += metrics.horizontalAdvance(QString::fromLatin1(NodeKindText(kind))) + gap;
    }
}

void TPictureCanvas::Render(QPainter& painter, QSizeF size) const {
    Draw(painter, size, 1, {});
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
        const QPointF from = NodePoint(Current);
        int nearest = 0;
        double best = 0;
        for (int node = 1; node <= n; ++node) {
            const QPointF to = NodePoint(node) - from;
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
        text += QStringLiteral(" At node ") + NodeText(Drawn.Network, Current) +
                QStringLiteral("; Enter makes it the origin, Shift+Enter the destination.");
    }
    setAccessibleDescription(text);
    emit Described();
}
