// The desktop's save dialog behind TFileDialog: filters, the default extension, and the
// name and filter remembered from the last confirmation.

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/dialogs/file_dialog.h"
#include "platform/dialogs/qt_platform_services.h"

class TestQtSaveDialog : public QObject {
    Q_OBJECT
  private slots:
    void NameFilters_data();
    void NameFilters();
    void AppendsDefaultExtensionAndRemembersName();
    void CancelKeepsTheLastName();
    void OpensInInitialFolderUntilItHasAName();

  private:
    // Runs dialog.Execute() while answer acts on the open QFileDialog.
    bool ExecuteAnswering(TFileDialog& dialog, std::function<void(QFileDialog*)> answer);
    QTemporaryDir Folder;
};

void TestQtSaveDialog::NameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("demand data") << "Network Demand Data|*.NET|All Files|*.*"
                                 << QStringList{"Network Demand Data (*.NET)", "All Files (*)"};
    QTest::newRow("distance") << "Network Distance File|*.NED|All Files|*.*"
                              << QStringList{"Network Distance File (*.NED)", "All Files (*)"};
    QTest::newRow("odd count drops the lone text")
        << "Only|*.X|Dangling" << QStringList{"Only (*.X)"};
}

void TestQtSaveDialog::NameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(NameFiltersOf(filter), expected);
}

bool TestQtSaveDialog::ExecuteAnswering(TFileDialog& dialog,
                                        std::function<void(QFileDialog*)> answer) {
    QTimer::singleShot(0, [answer] {
        QFileDialog* open = nullptr;
        QTRY_VERIFY((open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())));
        answer(open);
    });
    TQtPlatformServices services;
    return services.ExecuteSaveDialog(dialog);
}

void TestQtSaveDialog::AppendsDefaultExtensionAndRemembersName() {
    TFileDialog dialog;
    dialog.Title = "Specify Name of Network Demand Data File";
    dialog.Filter = "Network Demand Data|*.NET|All Files|*.*";
    dialog.DefaultExt = "NET";
    const QString typed = QDir(Folder.path()).filePath("plant");
    QString shownTitle;
    QVERIFY(ExecuteAnswering(dialog, [&](QFileDialog* open) {
        shownTitle = open->windowTitle();
        auto* nameField = open->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(nameField);
        nameField->setText(typed);
        QMetaObject::invokeMethod(open, "accept");
    }));
    QCOMPARE(shownTitle, dialog.Title);
    QCOMPARE(dialog.FileName, typed + ".NET");
    QCOMPARE(dialog.FilterIndex, 1);

    // Opened again, it shows the name last confirmed; the second filter chosen then is kept.
    QString shownName;
    QVERIFY(ExecuteAnswering(dialog, [&](QFileDialog* open) {
        shownName = open->selectedFiles().value(0);
        open->selectNameFilter("All Files (*)");
        QMetaObject::invokeMethod(open, "accept");
    }));
    QCOMPARE(shownName, typed + ".NET");
    QCOMPARE(dialog.FilterIndex, 2);
}

void TestQtSaveDialog::CancelKeepsTheLastName() {
    TFileDialog dialog;
    dialog.Filter = "Network Distance File|*.NED|All Files|*.*";
    dialog.DefaultExt = "NED";
    dialog.FileName = QDir(Folder.path()).filePath("kept.NED");
    QVERIFY(!ExecuteAnswering(dialog, [](QFileDialog* open) { open->reject(); }));
    QCOMPARE(dialog.FileName, QDir(Folder.path()).filePath("kept.NED"));
}

// Without a name of its own the dialog opens in InitialDir, and a bare name typed there is
// saved there; once it has a name, it opens at that name instead.
void TestQtSaveDialog::OpensInInitialFolderUntilItHasAName() {
    QTemporaryDir elsewhere;
    TFileDialog dialog;
    dialog.Filter = "Network Distance File|*.NED|All Files|*.*";
    dialog.DefaultExt = "NED";
    dialog.InitialDir = Folder.path();
    QString openedIn;
    QVERIFY(ExecuteAnswering(dialog, [&](QFileDialog* open) {
        openedIn = open->directory().absolutePath();
        open->findChild<QLineEdit*>("fileNameEdit")->setText("plant");
        QMetaObject::invokeMethod(open, "accept");
    }));
    QCOMPARE(openedIn, QDir(Folder.path()).absolutePath());
    QCOMPARE(dialog.FileName, QDir(Folder.path()).filePath("plant.NED"));

    dialog.FileName = QDir(elsewhere.path()).filePath("kept.NED");
    QVERIFY(!ExecuteAnswering(dialog, [&](QFileDialog* open) {
        openedIn = open->directory().absolutePath();
        open->reject();
    }));
    QCOMPARE(openedIn, QDir(elsewhere.path()).absolutePath());
}

QTEST_MAIN(TestQtSaveDialog)
#include "tst_qt_save_dialog.moc"
