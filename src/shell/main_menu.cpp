#include "shell/main_menu.h"

TMeshLoomMain::TMeshLoomMain(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("MESHLOOM Main Menu"));
    NodeButton = new QPushButton(QStringLiteral("&Node Specifications"), this);
    LinkButton = new QPushButton(QStringLiteral("&Link Specifications"), this);
    LinkButton->setEnabled(false);
}
