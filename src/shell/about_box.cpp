#include "shell/about_box.h"

TAboutBoxModDist::TAboutBoxModDist(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("MESHLOOM About Box"));
}
