// Remembered between runs beside the analysis settings: the import dialog's last reading
// parameters and folder, the damping values, the spectrum chart's choices and the splitters'
// positions; bad stored values are ignored and Reset All Settings forgets them.
#include <QAction>
#include <QCheckBox>
#include <QSettings>
#include <QSplitter>
#include <QTest>

#include "RecordsFixture.h"
#include "ui/app/StartFolders.h"

namespace {

class RememberedChoicesTest : public RecordsFixture {
  protected:
    void SetUp() override {
        RecordsFixture::SetUp();
        form.reset();
        store = std::make_unique<QSettings>(QDir(folder.path()).filePath("travik.ini"),
                                            QSettings::IniFormat);
        platform.settings = store.get();
        form = std::make_unique<TForm1>(platform);
    }
    void TearDown() override {
        RecordsFixture::TearDown();
        platform.settings = nullptr;
    }
    // The program closed and started again over the same store.
    void Restart() {
        form.reset();
        ProcessDeletions();
        form = std::make_unique<TForm1>(platform);
    }
    TForm2* OpenImportDialog() {
        Records<QPushButton>("btn1")->click();
        return form->findChild<TForm2*>();
    }
    QSplitter* RecordsSplitter() const { return Records<QSplitter>("splLeft"); }

    std::unique_ptr<QSettings> store;
};

TEST_F(RememberedChoicesTest, TheImportDialogStartsAsTheLastImportLeftIt) {
    const QString sub = QDir(folder.path()).filePath("records");
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString file = WriteLines("records/two.txt", {"t a", "x y", "0, 0.1", "0.01, 0.2"});
    Import({file}, [](TForm2& dialog) {
        Child<QRadioButton>(&dialog, "rb3")->setChecked(true);  // Free Type
        Child<QLineEdit>(&dialog, "edt1")->setText("0.005");
        Child<QLineEdit>(&dialog, "edt2")->setText("2.5");
        Child<QSpinBox>(&dialog, "edt3")->setValue(2);
        Child<QSpinBox>(&dialog, "edt4")->setValue(2);
    });
    ASSERT_EQ(form->Document().Records().Count(), 1);
    Restart();
    TForm2* dialog = OpenImportDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb3")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "0.005");
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt2")->text(), "2.5");
    EXPECT_EQ(Child<QSpinBox>(dialog, "edt3")->value(), 2);
    EXPECT_EQ(Child<QSpinBox>(dialog, "edt4")->value(), 2);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb1")->isChecked());
    EXPECT_EQ(dialog->InitialFolder(), QFileInfo(sub).absoluteFilePath());
}

TEST_F(RememberedChoicesTest, DampingAxesAndSplittersAreRememberedForTheNextRun) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Spectra<QComboBox>("cbb6")->setCurrentIndex(2);
    Spectra<QLineEdit>("edt16")->setText("2");
    Spectra<QLineEdit>("edt18")->setText("12.5");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(2);
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);
    Spectra<QCheckBox>("chkLogX")->setChecked(true);
    const QList<int> total = RecordsSplitter()->sizes();
    const int sum = total[0] + total[1];
    RecordsSplitter()->setSizes({sum / 3, sum - sum / 3});
    const QList<int> chosen = RecordsSplitter()->sizes();
    Restart();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(Spectra<QComboBox>("cbb6")->currentIndex(), 2);
    EXPECT_EQ(Spectra<QLineEdit>("edt16")->text(), "2");
    EXPECT_EQ(Spectra<QLineEdit>("edt17")->text(), "10");
    EXPECT_EQ(Spectra<QLineEdit>("edt18")->text(), "12.5");
    EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentIndex(), 2);
    EXPECT_EQ(Spectra<QComboBox>("cbb7")->currentIndex(), 4);
    EXPECT_TRUE(Spectra<QCheckBox>("chkLogX")->isChecked());
    EXPECT_FALSE(Spectra<QCheckBox>("chkLogY")->isChecked());
    EXPECT_EQ(RecordsSplitter()->sizes(), chosen);
}

TEST_F(RememberedChoicesTest, BadStoredChoicesAreIgnoredSilently) {
    const std::vector<std::pair<const char*, QVariant>> bad = {
        {"damping/percents", QStringList{"5", "abc"}},
        {"damping/percents", QStringList{"5", "100"}},
        {"damping/percents", QStringList{"-1"}},
        {"damping/percents", QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"figures/cbb5", QStringLiteral("9")},
        {"figures/cbb7", QStringLiteral("-1")},
        {"figures/cbbShow", QStringLiteral("1x")},
        {"figures/chkLogX", QStringLiteral("yes")},
        {"splitters/pgc1.qt_tabwidget_stackedwidget.ts1.splLeft", QByteArray("garbage")},
    };
    for (const auto& [key, value] : bad) {
        SCOPED_TRACE(key);
        form.reset();
        store->clear();
        store->setValue(QString::fromLatin1(key), value);
        Restart();
        EXPECT_EQ(Spectra<QComboBox>("cbb6")->currentIndex(), 0);
        EXPECT_EQ(Spectra<QLineEdit>("edt16")->text(), "5");
        EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentIndex(), 0);
        EXPECT_EQ(Spectra<QComboBox>("cbb7")->currentIndex(), 0);
        EXPECT_EQ(Spectra<QComboBox>("cbbShow")->currentIndex(), 0);
        EXPECT_FALSE(Spectra<QCheckBox>("chkLogX")->isChecked());
        EXPECT_TRUE(platform.messages.empty());
    }
}

TEST_F(RememberedChoicesTest, ResetAllSettingsForgetsTheChoices) {
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    Spectra<QComboBox>("cbb6")->setCurrentIndex(3);
    Restart();
    ASSERT_EQ(Spectra<QComboBox>("cbb5")->currentIndex(), 1);
    Frame<QAction>("ResetAllSettings1")->trigger();
    Restart();
    EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentIndex(), 0);
    EXPECT_EQ(Spectra<QComboBox>("cbb6")->currentIndex(), 0);
}

TEST_F(RememberedChoicesTest, DialogsStartInTheDocumentsFolderNotTheProgramFolder) {
    EXPECT_NE(DefaultStartFolder(), QCoreApplication::applicationDirPath());
    EXPECT_TRUE(QFileInfo(DefaultStartFolder()).isDir());
    EXPECT_EQ(StartFolder(QDir(folder.path()).filePath("gone")), DefaultStartFolder());
    EXPECT_EQ(StartFolder(folder.path()), folder.path());
    TForm2* dialog = OpenImportDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->InitialFolder(), DefaultStartFolder());
}

}  // namespace
