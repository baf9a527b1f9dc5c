#include "links/link_specification.h"

TLinkSpecification::TLinkSpecification(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Link Specification"));
}
