#pragma once

// Interim node window.

#include <QWidget>

class TNodeSpecifications : public QWidget {
    Q_OBJECT
  public:
    explicit TNodeSpecifications(QWidget* parent = nullptr);
};
