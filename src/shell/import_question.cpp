#include "shell/import_question.h"

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string>

#include "core/numbers/errors.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "platform/dialogs/import_box.h"
#include "platform/dialogs/platform_services.h"

namespace {

void ShowImportRefusal(const QString& path, const TImportRefusal& refusal) {
    ShowBox(QString::fromStdString(
                ImportRefusalText(QDir::toNativeSeparators(path).toStdString(), refusal)),
            TMessageKind::Warning, TBoxButtons::Ok);
}

// A scale as the region writes it: with its decimal symbol.
QString RegionalScaleText(double scale) {
    QString shown = QString::fromStdString(ScaleText(scale));
    shown.replace(QLatin1Char('.'), QLatin1Char(FormatSeparators().Decimal));
    return shown;
}

// The scale typed, or nothing where it is no number above 0.
std::optional<double> TypedScale(const QString& typed) {
    try {
        const double scale = static_cast<double>(StrToFloat(typed.trimmed().toStdString()));
        if (std::isfinite(scale) && scale > 0.0) {
            return scale;
        }
    } catch (const EConvertError&) {
    }
    return std::nullopt;
}
}  // namespace

std::optional<TImportAnswer> AskImport(const QString& path, std::string_view text) {
    TImportReading reading = ReadImportText(text);
    if (reading.Refusal) {
        ShowImportRefusal(path, *reading.Refusal);
        return std::nullopt;
    }
    TImportBox box;
    box.Title = QStringLiteral("Import Network");
    for (const std::string& choice : reading.Values->Choices) {
        box.Choices << QString::fromStdString(choice);
    }
    // The values of each array a routing table holds, read once each.
    std::vector<TImportedValues> arrays;
    if (box.Choices.isEmpty()) {
        arrays.push_back(std::move(*reading.Values));
    } else {
        for (const TRoutingValue value : {TRoutingValue::Durations, TRoutingValue::Distances}) {
            TImportReading chosen = ReadImportText(text, value);
            if (chosen.Refusal) {
                ShowImportRefusal(path, *chosen.Refusal);
                return std::nullopt;
            }
            arrays.push_back(std::move(*chosen.Values));
        }
    }
    const auto chosenArray = [&arrays](int choice) -> const TImportedValues& {
        return arrays[static_cast<std::size_t>(choice) < arrays.size() ? choice : 0];
    };
    double fits = INFINITY;
    for (const TImportedValues& values : arrays) {
        fits = std::min(fits, LargestFittingScale(values));
    }
    box.AskScale = fits < 1.0;
    box.Scale = RegionalScaleText(box.AskScale ? fits : 1.0);

    std::optional<TImportAnswer> answer;
    box.Describe = [&](const QString& typed, int choice) {
        const TImportedValues& values = chosenArray(choice);
        QStringList lines;
        lines << QStringLiteral("File: %1").arg(QDir::toNativeSeparators(path))
              << QStringLiteral("Kind: %1").arg(QString::fromStdString(values.KindText));
        const std::optional<double> scale = TypedScale(typed);
        TImportBoxView view;
        if (!scale) {
            lines << QStringLiteral("The scale must be a number above 0.");
        } else {
            const TScaledImport scaled = ScaleImport(values, *scale);
            if (scaled.Refusal) {
                lines << QString::fromStdString(scaled.Refusal->Reason);
            } else {
                lines << QStringLiteral(
                             "%1 nodes and %2 %3; the largest distance is %4, at scale "
                             "%5.")
                             .arg(scaled.Network->Nodes.size())
                             .arg(scaled.Links)
                             .arg(scaled.Links == 1 ? QStringLiteral("link")
                                                    : QStringLiteral("links"))
                             .arg(scaled.LargestDistance)
                             .arg(typed.trimmed());
                answer = TImportAnswer{*scaled.Network, QString::fromStdString(values.KindText),
                                       scaled.Links, typed.trimmed()};
                view.CanImport = true;
            }
        }
        for (const std::string& note : values.Notes) {
            lines << QString::fromStdString(note);
        }
        if (view.CanImport) {
            lines << QStringLiteral("Import it in place of the network in the windows?");
        } else {
            answer.reset();
        }
        view.Text = lines.join(QLatin1Char('\n'));
        return view;
    };
    if (!box.Execute()) {
        return std::nullopt;
    }
    // The box's last description is of what it closed with.
    box.Describe(box.Scale, box.Choice);
    return answer;
}
