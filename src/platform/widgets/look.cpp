#include "platform/widgets/look.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QStringList>
#include <QWidget>

#include "platform/widgets/command_button.h"

namespace {
QFont FormFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
}  // namespace

void UseFormFont(QWidget& widget, TFontStyle style) {
    QFont font = FormFont();
    font.setBold(style != TFontStyle::Regular);
    font.setItalic(style == TFontStyle::BoldItalic);
    widget.setFont(font);
}

void UseScriptFont(QWidget& widget, int pixelSize) {
    QFont font;
    // Z003 is the chancery face of the URW fonts; the others are common script faces.
    font.setFamilies({QStringLiteral("Z003"), QStringLiteral("URW Chancery L"),
                      QStringLiteral("TeX Gyre Chorus"), QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Cursive);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    widget.setFont(font);
}

void UseBoldPixelFont(QWidget& widget, int pixelSize) {
    QFont font = FormFont();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    widget.setFont(font);
}

void WrapWithin(QLabel& label, int width) {
    label.setWordWrap(true);
    label.setFixedWidth(width);
    label.setMinimumHeight(label.heightForWidth(width));
}

void SetBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

QColor TextColour(const QWidget& widget) {
    return widget.palette().color(QPalette::WindowText);
}

namespace {
// Judged by the advances themselves: some monospace faces do not declare their pitch.
bool AllAdvancesEqual(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('M'));
    for (const char sample : {'i', ' ', '.', ',', '>', '1'}) {
        if (metrics.horizontalAdvance(QLatin1Char(sample)) != width) {
            return false;
        }
    }
    return true;
}
}  // namespace

QFont FixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    if (!AllAdvancesEqual(font)) {
        font.setFamilies({QStringLiteral("monospace")});
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    return font;
}

QLabel* BoldLabel(const QString& caption, QWidget* parent, std::optional<QColor> colour) {
    auto* label = new QLabel(caption, parent);
    UseFormFont(*label, TFontStyle::Bold);
    if (colour) {
        SetTextColour(*label, *colour);
    }
    return label;
}

TCommandButton* HintedButton(const QString& caption, const QString& hint, int width,
                             TFontStyle style, QWidget* parent) {
    auto* button = new TCommandButton(caption, parent);
    button->setToolTip(hint);
    UseFormFont(*button, style);
    button->setMinimumSize(width, 25);
    return button;
}
