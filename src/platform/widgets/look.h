#pragma once

// The colours and faces of the windows, and the labels and buttons they are made of.

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QLabel;
class QWidget;
class TCommandButton;

// The named colours the windows are painted in.
namespace Palette {
inline const QColor Purple(128, 0, 128);
inline const QColor Lime(0, 255, 0);
inline const QColor Yellow(255, 255, 0);
inline const QColor Navy(0, 0, 128);
inline const QColor White(255, 255, 255);
inline const QColor Fuchsia(255, 0, 255);
inline const QColor Aqua(0, 255, 255);
inline const QColor Silver(192, 192, 192);
inline const QColor Red(255, 0, 0);
}  // namespace Palette

enum class TFontStyle { Regular, Bold, BoldItalic };

// The windows' own face: an 8-point sans-serif.
void UseFormFont(QWidget& widget, TFontStyle style = TFontStyle::Regular);

// A script or chancery face of the given pixel size, bold, for a title; a plain italic serif
// where no such face is installed.
void UseScriptFont(QWidget& widget, int pixelSize);

// A bold face of the given pixel size.
void UseBoldPixelFont(QWidget& widget, int pixelSize);

// The desktop's fixed-pitch face at 8 points, for the lists whose columns must line up;
// where the platform names none, the face the font configuration offers for a monospace
// request.
QFont FixedPitchFont();

// Wraps the label's words within the given width and gives it the height of all its lines.
void WrapWithin(QLabel& label, int width);

void SetBackground(QWidget& widget, const QColor& colour);
void SetTextColour(QWidget& widget, const QColor& colour);
QColor TextColour(const QWidget& widget);

// A label in the bold form face, in colour where one is given (else the parent's).
QLabel* BoldLabel(const QString& caption, QWidget* parent,
                  std::optional<QColor> colour = std::nullopt);

// A button in the form face of style, with its hint, at least width wide and 25 pixels high.
TCommandButton* HintedButton(const QString& caption, const QString& hint, int width,
                             TFontStyle style, QWidget* parent);
