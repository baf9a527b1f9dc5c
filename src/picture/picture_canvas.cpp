#include "picture/picture_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/name_bytes.h"
#include "platform/application.h"

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

void Arrowhead(QPainter& painter, QPointF from, QPointF to) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    if (length <= Radius + 2) {
        return;
    }
    const QPointF unit = along / length, across(-unit.y(), unit.x());
    const QPointF tip = to - unit * (Radius + 1);
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
    const std::vector<TPoint> fitted =
        FittedPositions(Drawn.Positions, size.width(), size.height() - LegendHeight, Margin);
    const QPointF centre(size.width() / 2, size.height() / 2);
    std::vector<QPointF> at;
    for (const TPoint& p : fitted) {
        at.push_back(centre + (QPointF(p.X, p.Y) - centre) * scale + offset);
    }
    const auto point = [&](int node) { return at[static_cast<std::size_t>(node - 1)]; };
    if (at.size() != static_cast<std::size_t>(Drawn.Network.NumNodes)) {
        painter.drawText(QRectF(QPointF(), size), Qt::AlignCenter,
                         QStringLiteral("Laying out the network..."));
        return;
    }
    // Thousands of lines are drawn plain, so that a full network still draws at once.
    painter.setRenderHint(QPainter::Antialiasing, Links.size() < 3000);
    painter.setPen(QPen(LinkColour, 1));
    painter.setBrush(QColor(0x34, 0x49, 0x5e));
    for (const TDrawnLink& link : Links) {
        painter.drawLine(point(link.From), point(link.To));
        if (!link.TwoWay) {
            Arrowhead(painter, point(link.From), point(link.To));
        }
    }
    if (Shown.Distances) {
        painter.setPen(QColor(0x16, 0xa0, 0x85));
        for (const TDrawnLink& link : Links) {
            painter.drawText((point(link.From) + point(link.To)) / 2 + QPointF(0, -3),
                             QString::fromStdString(DistanceLabel(link)));
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
        painter.drawText(p + QPointF(Radius + 2, -Radius - 1),
                         NodeText(Drawn.Network, node).section(QLatin1Char(' '), 1));
    }

    // The legend along the bottom.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double y = size.height() - LegendHeight + 14;
    painter.setPen(QPen(LinkColour, 1));
    painter.drawLine(QPointF(10, y), QPointF(40, y));
    painter.drawLine(QPointF(130, y), QPointF(160, y));
    painter.setBrush(QColor(0x34, 0x49, 0x5e));
    Arrowhead(painter, QPointF(130, y), QPointF(165, y));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(45, y + 4), QStringLiteral("two-way link"));
    painter.drawText(QPointF(170, y + 4), QStringLiteral("one-way link"));
    painter.drawText(QPointF(270, y + 4), QStringLiteral("origin"));
    painter.drawText(QPointF(345, y + 4), QStringLiteral("destination"));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(OriginColour, 3));
    painter.drawEllipse(QPointF(260, y), 6, 6);
    painter.setPen(QPen(DestinationColour, 3));
    painter.drawEllipse(QPointF(335, y), 6, 6);
    double x = 10;
    for (const TNodeKind kind : MarkedNodeKinds) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(KindColour(kind));
        painter.drawEllipse(QPointF(x + 5, y + 20), Radius, Radius);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + 14, y + 24), QString::fromLatin1(NodeKindText(kind)));
        x += 170;
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
}
