#pragma once

// Interim main menu: the two step buttons the other windows switch.

#include <QPushButton>
#include <QWidget>

class TMeshLoomMain : public QWidget {
    Q_OBJECT
  public:
    explicit TMeshLoomMain(QWidget* parent = nullptr);

    QPushButton* NodeButton = nullptr;
    QPushButton* LinkButton = nullptr;
};
