#pragma once

// Interim link window.

#include <QWidget>

class TLinkSpecification : public QWidget {
    Q_OBJECT
  public:
    explicit TLinkSpecification(QWidget* parent = nullptr);
};
