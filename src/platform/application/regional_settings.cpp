#include "platform/application/regional_settings.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

constexpr char FallbackDecimal = '.';
constexpr char FallbackThousands = ',';
constexpr char16_t Latin1NoBreakSpace = 0xA0;

bool IsSingleLatin1(const QString& symbol) {
    return symbol.size() == 1 && symbol.at(0).unicode() <= 0xFF;
}

char Latin1(QChar c) {
    return static_cast<char>(static_cast<unsigned char>(c.unicode()));
}

TRegionalSettingsFilter* InstalledFilter = nullptr;

}  // namespace

TFormatSeparators SeparatorsOfLocale(const QLocale& locale) {
    TFormatSeparators separators{FallbackDecimal, FallbackThousands};
    const QString decimal = locale.decimalPoint();
    if (IsSingleLatin1(decimal)) {
        separators.Decimal = Latin1(decimal.at(0));
    }
    const QString group = locale.groupSeparator();
    if (IsSingleLatin1(group)) {
        separators.Thousands = Latin1(group.at(0));
    } else if (group.size() == 1 && group.at(0).category() == QChar::Separator_Space) {
        separators.Thousands = Latin1(QChar(Latin1NoBreakSpace));
    }
    return separators;
}

void ReadRegionalSettings(const QLocale& locale) {
    SetFormatSeparators(SeparatorsOfLocale(locale));
}

void ReadRegionalSettings() {
    ReadRegionalSettings(QLocale::system());
}

bool TRegionalSettingsFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LocaleChange && watched == QCoreApplication::instance()) {
        QLocale::setDefault(QLocale::system());
        ReadRegionalSettings();
    }
    return QObject::eventFilter(watched, event);
}

void StartRegionalSettings() {
    ReadRegionalSettings();
    if (!InstalledFilter) {
        auto* application = QCoreApplication::instance();
        InstalledFilter = new TRegionalSettingsFilter(application);
        application->installEventFilter(InstalledFilter);
        QObject::connect(InstalledFilter, &QObject::destroyed, [] { InstalledFilter = nullptr; });
    }
}
