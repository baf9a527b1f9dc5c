#pragma once

// The picture window: the network drawn to its distances (picture_canvas.h), kept in step with
// the link window that opens it. Each change of the network is drawn at once on the last
// positions (a new node beside its neighbours) and laid out again beside the window's thread
// (network_layout.h), starting from them, so that the drawing stays steady; Fit to Window lays
// it out afresh; the newest layout is shown when it is ready and older ones are dropped, so typing
// and clicking in the link window never wait. Save Picture writes what is shown as SVG or PNG.

#include <QWidget>
#include <functional>

#include "layout/network_layout.h"
#include "platform/dialogs/file_dialog.h"

class QCheckBox;
class QLabel;
class TCommandButton;
class TPictureCanvas;

class TPictureWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TPictureWindow(QWidget* parent = nullptr);

    TPictureCanvas* Canvas = nullptr;
    TCommandButton* ZoomInButton = nullptr;
    TCommandButton* ZoomOutButton = nullptr;
    TCommandButton* FitButton = nullptr;
    QCheckBox* DistancesBox = nullptr;
    TCommandButton* SaveButton = nullptr;
    QLabel* Description = nullptr;

    TFileDialog SavePicture;

    // The network to show now: drawn at once, laid out beside the window's thread.
    void ShowNetwork(const TLayoutNetwork& network);
    // The link window's selected origin and destination (0: none).
    void SetEnds(int origin, int destination);
    // Asks for a file name and writes the picture shown there, as SVG or, for a name ending
    // in .png or the PNG filter, as PNG.
    void SavePictureClick();
    // Fit to Window: the whole network in view, laid out afresh rather than from the drawing.
    void FitClick();
    // True while a layout runs or waits to run.
    bool LayoutPending() const { return Running; }

    // Places the window beside work (the window it serves) where its screen has room, else over
    // the side of work away from its buttons (along the bottom), always wholly on the screen.
    void PlaceBeside(const QWidget& work);
    // The demand data file the network was opened from or saved to, or empty: Save Picture
    // suggests its name with .svg ("network.svg" without one).
    std::function<QString()> NetworkFile;

  signals:
    // A finished layout is shown.
    void PictureLaidOut();

  protected:
    // Each showing starts with the whole network in view.
    void showEvent(QShowEvent* event) override;

  private:
    void StartLayout();
    void LayoutDone(const TNetworkPicture& picture, int generation);
    // Keeps the frame, once the window manager has framed the window, on the place
    // PlaceBeside chose; tries counts the checks so far.
    void FollowFrame(int tries);

    TLayoutNetwork Wanted;  // the newest network asked for
    int Generation = 0;     // counts the networks asked for
    bool Running = false;
    bool LaidOut = false;  // whether the positions shown are from a layout of these nodes
    bool Afresh = false;   // whether the next layout starts anew (Fit to Window)
    QRect Placed;          // the frame's place PlaceBeside chose, until the frame is on it
};
