#include "nodes/node_specifications.h"

TNodeSpecifications::TNodeSpecifications(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Node Specification Menu"));
}
