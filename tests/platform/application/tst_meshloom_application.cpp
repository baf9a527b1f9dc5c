// The application object: a failure thrown by an event handler ends that event, the general
// error box reports it, and the program goes on.

#include <sys/resource.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <new>

#include "core/numbers/errors.h"
#include "core/numbers/separators.h"
#include "files/file_writer.h"
#include "platform/application/meshloom_application.h"
#include "platform/application/regional_settings.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "support/scripted_platform.h"

class TestMeshLoomApplication : public QObject {
    Q_OBJECT

  private slots:
    void aFailingClickShowsTheErrorBoxAndTheProgramGoesOn_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("text");
        QTest::newRow("range check") << 0 << "Range check error";
        QTest::newRow("overflow") << 1 << "Integer overflow";
        QTest::newRow("out of memory") << 2 << "Out of memory";
        QTest::newRow("standard library") << 3 << "vector::at";
        QTest::newRow("Latin-1 text") << 4 << QStringLiteral("'\u00E9t\u00E9' is not valid");
    }
    void aFailingClickShowsTheErrorBoxAndTheProgramGoesOn() {
        QFETCH(int, failure);
        QFETCH(QString, text);
        TScriptedPlatform platform;
        platform.ExpectBox(TMessageKind::Error, text);

        TCommandButton button(QStringLiteral("Fail"));
        int clicks = 0;
        bool failNext = true;
        button.OnClick = [&] {
            ++clicks;
            if (!failNext) {
                return;
            }
            failNext = false;
            switch (failure) {
                case 0:
                    throw ERangeError();
                case 1:
                    throw EIntOverflow();
                case 2:
                    throw std::bad_alloc();
                case 3:
                    throw std::out_of_range("vector::at");
                default:
                    throw EConvertError("'\xE9t\xE9' is not valid");
            }
        };
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        QTest::mouseClick(&button, Qt::LeftButton);
        QVERIFY(platform.AllAnswered());
        QCOMPARE(platform.ShownBoxes().size(), size_t(1));
        QCOMPARE(platform.ShownBoxes()[0].Caption, QStringLiteral("MESHLOOM Program"));
        QCOMPARE(platform.ShownBoxes()[0].Buttons, TBoxButtons::Ok);

        // The program goes on: the same button works again, and nothing more is reported.
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(platform.ShownBoxes().size(), size_t(1));
        QVERIFY(!button.isDown());
    }

    // The last resort: a failure that reaches the event delivery itself (here a timer's tick,
    // which arrives through the event loop like any other event).
    void aFailureReachingTheEventLoop() {
        TScriptedPlatform platform;
        platform.ExpectBox(TMessageKind::Error, QStringLiteral("Range check error"));
        bool later = false;
        QTimer::singleShot(0, [] { throw ERangeError(); });
        QTimer::singleShot(0, [&] { later = true; });
        QTRY_VERIFY(later);
        QVERIFY(platform.AllAnswered());
    }

    // A failure in an event sent from inside another handler (a field's exit event during a
    // focus change) ends that event only; the handler that moved the focus carries on.
    void aFailureInANestedEventEndsThatEventOnly() {
        TScriptedPlatform platform;
        platform.ExpectBox(TMessageKind::Error, QStringLiteral("Range check error"));

        QWidget window;
        auto* field = new TEntryField;
        field->OnExit = [] { throw ERangeError(); };
        auto* other = new QLineEdit;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());

        bool carriedOn = false;
        TCommandButton button(QStringLiteral("Move"), &window);
        button.OnClick = [&] {
            other->setFocus();
            carriedOn = true;
        };
        button.click();
        QVERIFY(carriedOn);
        QVERIFY(other->hasFocus());
        QVERIFY(platform.AllAnswered());
    }

    // A file that outgrows the file-size limit fails to be written, as on a full disk, and the
    // program goes on: the limit's signal does not end it.
    void aFileOverTheSizeLimitFailsAndTheProgramGoesOn() {
        QTemporaryDir folder;
        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        rlimit limit = before;
        limit.rlim_cur = 10;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        const TWriteResult written =
            WriteWholeFile(folder.filePath("plan.NET").toStdString(), std::string(100, 'x'));
        QVERIFY(setrlimit(RLIMIT_FSIZE, &before) == 0);
        QCOMPARE(ErrorReason(written.Error), std::string("File too large"));
    }

    // The application object follows the regional settings from its start.
    void aLocaleChangeRereadsTheRegionalSettings() {
        const TFormatSeparators system = SeparatorsOfLocale(QLocale::system());
        SetFormatSeparators({'#', '!'});
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(qApp, &change);
        QCOMPARE(FormatSeparators().Decimal, system.Decimal);
        QCOMPARE(FormatSeparators().Thousands, system.Thousands);
    }
};

int main(int argc, char** argv) {
    TMeshLoomApplication application(argc, argv);
    TestMeshLoomApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_meshloom_application.moc"
