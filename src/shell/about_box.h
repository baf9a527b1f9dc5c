#pragma once

// Interim about box.

#include <QWidget>

class TAboutBoxModDist : public QWidget {
    Q_OBJECT
  public:
    explicit TAboutBoxModDist(QWidget* parent = nullptr);
};
