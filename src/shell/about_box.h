#pragma once

// The about box: the program's name, its version and build flags as the executable's own
// version record states them, and what the program is for. The same class serves twice: as
// AboutBoxModDist, which the main menu's About button opens and its OK button leaves, and as
// the start-up splash, which stands above everything until its timer's first tick.
//
// Both have their timer running from creation; a tick closes (hides) the window. The About
// button stops the about box's timer before showing it, so the about box stays until OK.

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;
class TCommandButton;

class TAboutBoxModDist : public QWidget {
    Q_OBJECT
  public:
    explicit TAboutBoxModDist(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    TCommandButton* OKButton = nullptr;
    QTimer* AboutTimer = nullptr;
    QLabel* PropertyLabel = nullptr;

    void OKButtonClick();
    // Turns a freshly created box into the splash: no OK button, above all other windows,
    // on screen and painted before this returns.
    void MakeSplash();
    void AboutTimerTimer();
    // Fills the version labels from the running executable's version record; a missing or
    // unreadable record leaves them as they are.
    void FormShow();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    // Closes (hides) the window for OK or a tick, as opposed to a close from the desktop.
    void CloseItself();
    bool IsSplash = false;
    bool ClosingItself = false;
};
