#pragma once

// The separators of the number texts follow the user's regional settings: they are read at
// start and again whenever the desktop announces that the settings have changed.
//
// At program start, once the QApplication exists:
//   StartRegionalSettings();   // reads them now and follows every change from then on

#include <QLocale>
#include <QObject>

#include "core/numbers/separators.h"

// The separators of a locale: its decimal symbol and its digit-grouping symbol where each is
// a single Latin-1 character, else "." and ",". A grouping symbol that is a single space
// outside Latin-1 (U+202F, the narrow no-break space of French) becomes the Latin-1
// no-break space, so that it never falls back to "," beside a decimal ",".
//   German: "," and ".";  English: "." and ",";  Arabic (Egypt): "." and "," (fallbacks).
TFormatSeparators SeparatorsOfLocale(const QLocale& locale);

// Makes locale's separators the program's (core/numbers/separators.h).
void ReadRegionalSettings(const QLocale& locale);

// Reads the user's regional settings, QLocale::system(); not the locale that
// QLocale::setDefault sets.
void ReadRegionalSettings();

// An application event filter: on QEvent::LocaleChange sent to the application it puts the
// default locale back to the user's and reads the regional settings again.
class TRegionalSettingsFilter : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Reads the regional settings and installs one TRegionalSettingsFilter on the application
// (owned by it). Needs a QCoreApplication; calling it again only reads again.
void StartRegionalSettings();
