#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "RecordsFixture.h"
#include "ui/app/StartFolders.h"

namespace {

using ImportWindow = RecordsFixture;

// Answers the file dialog like the scripted platform and notes whether the import window
// was still visible while the dialog was up.
class WatchingPlatform final : public PlatformServices {
  public:
    void ShowMessage(QWidget* parent, MessageKind kind, const QString& text) override {
        inner.ShowMessage(parent, kind, text);
    }
    QStringList ChooseRecordFiles(QWidget* parent, const QString& initialFolder) override {
        auto* dialog = parent != nullptr ? parent->findChild<TForm2*>() : nullptr;
        importWindowVisible = dialog != nullptr && dialog->isVisible();
        return inner.ChooseRecordFiles(parent, initialFolder);
    }
    QString ChooseFolder(QWidget* parent, const QString& initialFolder) override {
        return inner.ChooseFolder(parent, initialFolder);
    }
    void SetClipboardText(const QString& text) override { inner.SetClipboardText(text); }
    void OpenWebPage(const QUrl& url) override { inner.OpenWebPage(url); }
    bool Confirm(QWidget* parent, const QString& question) override {
        return inner.Confirm(parent, question);
    }

    ScriptedPlatform inner;
    bool importWindowVisible = true;
};

TEST_F(ImportWindow, OpensWithTheDefaultsEveryTime) {
    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Input File Parameters");
    // Automatic (rb5) is chosen: it reads free-format files as Free Type (rb3) would.
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb5")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "rb3")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb4")->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "lbl4")->text(), "Delimeiter");
    EXPECT_EQ(dialog->InitialFolder(), DefaultStartFolder());

    Child<QLineEdit>(dialog, "edt1")->setText("0.005");
    Child<QLineEdit>(dialog, "edt2")->setText("2");
    Child<ArrowSpinBox>(dialog, "edt3")->setValue(4);
    Child<QRadioButton>(dialog, "rb2")->setChecked(true);
    Child<ArrowSpinBox>(dialog, "edt4")->setValue(3);
    Child<QRadioButton>(dialog, "rb4")->setChecked(true);
    Child<QPushButton>(dialog, "btn2")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);

    Frame<QAction>("ImportTimeHistoryRecords1")->trigger();
    dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "0.01");
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt2")->text(), "1");
    EXPECT_EQ(Child<ArrowSpinBox>(dialog, "edt3")->value(), 0);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb1")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "rb2")->isChecked());
    EXPECT_EQ(Child<ArrowSpinBox>(dialog, "edt4")->value(), 1);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rb5")->isChecked());
}

TEST_F(ImportWindow, SpinBoxesKeepToTheirRangesAndRefuseTypedText) {
    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    Child<ArrowSpinBox>(dialog, "edt3")->setValue(150);
    EXPECT_EQ(Child<ArrowSpinBox>(dialog, "edt3")->value(), 100);
    Child<ArrowSpinBox>(dialog, "edt3")->stepBy(-200);
    EXPECT_EQ(Child<ArrowSpinBox>(dialog, "edt3")->value(), 0);
    Child<ArrowSpinBox>(dialog, "edt4")->setValue(0);
    EXPECT_EQ(Child<ArrowSpinBox>(dialog, "edt4")->value(), 1);
    EXPECT_TRUE(Child<ArrowSpinBox>(dialog, "edt4")->findChild<QLineEdit*>()->isReadOnly());
}

TEST_F(ImportWindow, ABadTimeStepIsNamedAndFocusedAndNothingElseHappens) {
    Import({WriteSamples("kept.txt", {0.1, 0.2})});
    const QString other = WriteSamples("other.txt", {0.3, 0.4, 0.5});
    platform.fileAnswers.push_back({other});

    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    Child<QLineEdit>(dialog, "edt1")->setText("abc");
    Child<QPushButton>(dialog, "btn1")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, PlatformServices::MessageKind::Warning);
    EXPECT_EQ(platform.messages[0].text, "\"abc\" is not a valid floating number!");
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "edt1"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(platform.fileDialogFolders.size(), 1);  // only the first import's dialog
    EXPECT_EQ(Records<QListWidget>("lst1")->item(0)->text(), "kept.txt");

    Child<QLineEdit>(dialog, "edt1")->setText("0.02");
    Child<QLineEdit>(dialog, "edt2")->setText("1,5");
    Child<QPushButton>(dialog, "btn1")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "\"1,5\" is not a valid floating number!");
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "edt2"));

    Child<QLineEdit>(dialog, "edt2")->setText("1");
    Child<QPushButton>(dialog, "btn1")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(form->Document().Records().At(0).SourceFileName(), "other.txt");
    EXPECT_DOUBLE_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
}

TEST_F(ImportWindow, TheParametersReachTheReader) {
    const QString path = WriteLines(
        "table.txt", {"header line that is skipped", "1 0.15 x", "2  -0.25 y", "3 1.5e-1 z"});
    Import({path}, [](TForm2& dialog) {
        Child<QLineEdit>(&dialog, "edt1")->setText("0.005");
        Child<QLineEdit>(&dialog, "edt2")->setText("2");
        Child<ArrowSpinBox>(&dialog, "edt3")->setValue(1);
        Child<QRadioButton>(&dialog, "rb2")->setChecked(true);
        Child<ArrowSpinBox>(&dialog, "edt4")->setValue(2);
    });
    ASSERT_EQ(form->Document().Records().Count(), 1);
    const travik::TimeHistory& record = form->Document().Records().At(0);
    EXPECT_DOUBLE_EQ(record.TimeStep(), 0.005);
    ASSERT_EQ(record.SampleCount(), 3);
    EXPECT_DOUBLE_EQ(record.RawAcceleration()[0], 0.3);
    EXPECT_DOUBLE_EQ(record.RawAcceleration()[1], -0.5);
    EXPECT_DOUBLE_EQ(record.RawAcceleration()[2], 0.3);
}

TEST_F(ImportWindow, RecordsAreIntegratedWithTheCurrentGravity) {
    ChangeSettings([](travik::AnalysisSettings& s) { s.g = 1000.0; });
    Import({WriteSamples("g.txt", {0.1, 0.3})});
    // Trapezoidal rule: (0.1 + 0.3) / 2 * 0.01 s * 1000 cm/sec^2.
    EXPECT_NEAR(form->Document().Records().At(0).RawVelocity()[1], 2.0, 1e-12);
}

TEST_F(ImportWindow, IsHiddenWhileTheFileDialogIsUp) {
    WatchingPlatform watching;
    watching.inner.fileAnswers.push_back({WriteSamples("a.txt", {0.1})});
    TForm1 window(watching);
    OnRecords<QPushButton>(&window, "btn1")->click();
    Child<QPushButton>(window.findChild<TForm2*>(), "btn1")->click();
    EXPECT_FALSE(watching.importWindowVisible);
    EXPECT_EQ(window.Document().Records().Count(), 1);
    ASSERT_EQ(watching.inner.fileDialogFolders.size(), 1);
    EXPECT_EQ(watching.inner.fileDialogFolders.front(), DefaultStartFolder());
}

TEST_F(ImportWindow, CancellingTheFileDialogLeavesEverythingAsItWas) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_FALSE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    Import({});
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);
    EXPECT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 1);
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "1");
    EXPECT_EQ(Chart("cht1").PointCount(0), 3);
    EXPECT_EQ(Chart("cht1").PointCount(2), 3);
    EXPECT_EQ(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).size(), 1u);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportWindow, CancelButtonChangesNothing) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    Records<QPushButton>("btn1")->click();
    Child<QLineEdit>(form->findChild<TForm2*>(), "edt1")->setText("nonsense");
    Child<QPushButton>(form->findChild<TForm2*>(), "btn2")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);
    EXPECT_EQ(form->Document().Records().Count(), 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ImportWindow, ANewImportReplacesEveryRecordAndResult) {
    Import({WriteSamples("a.txt", {0.1, 0.2}), WriteSamples("b.txt", {0.3, 0.4})});
    Records<QListWidget>("lst1")->item(1)->setCheckState(Qt::Checked);
    Spectra<QPushButton>("btn11")->click();
    ASSERT_FALSE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    Import({WriteSamples("c.txt", {0.5, 0.6, 0.7})});
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 1);
    EXPECT_EQ(Records<QListWidget>("lst1")->item(0)->text(), "c.txt");
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "0");
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "1");
    EXPECT_TRUE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    EXPECT_EQ(Chart("cht1").PointCount(0), 3);
}

TEST_F(ImportWindow, AFirstFileThatFailsKeepsTheRecordsLoadedBefore) {
    // Nothing was read, so nothing takes the place of the records, their corrections and
    // their charts (picking a picture by mistake destroys no work).
    Import({WriteSamples("old.txt", {0.1, 0.2}), WriteSamples("older.txt", {0.3})});
    Records<QPushButton>("btn4")->click();
    ASSERT_TRUE(form->Document().Records().At(0).IsCorrected());
    const QString picture = WriteLines("photo.png", {QStringLiteral("PNG")});
    Import({picture, WriteSamples("good.txt", {0.1})});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, PlatformServices::MessageKind::Warning);
    EXPECT_EQ(platform.messages[0].text,
              "FILE: photo.png. ERROR Line: 1. ERROR: 'PNG' is not a valid floating point value");
    const travik::RecordList& records = form->Document().Records();
    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(records.At(0).SourceFileName(), "old.txt");
    EXPECT_TRUE(records.At(0).IsCorrected());
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 2);
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->count(), 2);
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "2");
    EXPECT_EQ(Chart("cht1").PointCount(0), 2);
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);

    // With nothing loaded before, nothing is loaded after.
    Records<QPushButton>("btn7")->click();
    Import({QDir(folder.path()).filePath("missing.txt")});
    EXPECT_TRUE(form->Document().Records().IsEmpty());
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "0");
}

TEST_F(ImportWindow, RecordsBeforeAFailingFileStayAndAreShown) {
    const QString bad = WriteLines("bad.txt", {"0.1", "oops"});
    Import({WriteSamples("first.txt", {0.1, 0.2}), bad, WriteSamples("third.txt", {0.3})});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "FILE: bad.txt. ERROR Line: 2. ERROR: 'oops' is not a valid floating point value");
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(Records<QListWidget>("lst1")->item(0)->text(), "first.txt");
    EXPECT_EQ(Records<QListWidget>("lst1")->currentRow(), 0);
    EXPECT_EQ(Chart("cht1").PointCount(0), 2);
}

TEST_F(ImportWindow, NumbersFollowTheLocalesDecimalSeparator) {
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(german);
    Import({WriteLines("komma.txt", {"0,25", "-0,5"})}, [](TForm2& dialog) {
        Child<QLineEdit>(&dialog, "edt1")->setText("0,02");
        Child<QRadioButton>(&dialog, "rb2")->setChecked(true);
    });
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_DOUBLE_EQ(form->Document().Records().At(0).TimeStep(), 0.02);
    EXPECT_DOUBLE_EQ(form->Document().Records().At(0).RawAcceleration()[1], -0.5);
}

TEST_F(ImportWindow, ATimeStepThatIsNotGreaterThanZeroIsRefusedWithTheFocusOnIt) {
    for (const QString& step : {QStringLiteral("0"), QStringLiteral("-0.01")}) {
        platform.messages.clear();
        Records<QPushButton>("btn1")->click();
        TForm2* dialog = form->findChild<TForm2*>();
        ASSERT_NE(dialog, nullptr);
        dialog->show();
        dialog->activateWindow();
        Child<QLineEdit>(dialog, "edt1")->setText(step);
        Child<QPushButton>(dialog, "btn1")->click();
        ASSERT_EQ(platform.messages.size(), 1u) << step.toStdString();
        EXPECT_EQ(platform.messages[0].text, "Time Step must be greater than zero!");
        EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "edt1"));
        EXPECT_TRUE(platform.fileDialogFolders.isEmpty());  // no file dialog was opened
        EXPECT_EQ(form->Document().Records().Count(), 0);
        Child<QPushButton>(dialog, "btn2")->click();
        ProcessDeletions();
    }
}

TEST_F(ImportWindow, UnderADecimalCommaTheDefaultsShowTheCommaAndAreAccepted) {
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(german);
    const QString file = WriteSamples("one.txt", {0.25, -0.5});
    platform.fileAnswers.push_back({file});
    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edt1")->text(), "0,01");
    Child<QPushButton>(dialog, "btn1")->click();
    ProcessDeletions();
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text.toStdString();
    ASSERT_EQ(form->Document().Records().Count(), 1);
    EXPECT_EQ(form->Document().Records().At(0).TimeStep(), 0.01);
    // Record files written with the full stop read under the decimal comma as well.
    EXPECT_EQ(form->Document().Records().At(0).RawAcceleration(),
              (std::vector<double>{0.25, -0.5}));
}

TEST_F(ImportWindow, AddingToTheLoadedRecordsIsOfferedAndOffByDefault) {
    Import({WriteSamples("a.txt", {0.1, 0.2})});
    Records<QPushButton>("btn1")->click();
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    QCheckBox* add = Child<QCheckBox>(dialog, "chk2");
    EXPECT_EQ(add->text(), "Add to the records already loaded");
    EXPECT_FALSE(add->isChecked());
    Child<QPushButton>(dialog, "btn2")->click();
    ProcessDeletions();

    Import({WriteSamples("b.txt", {0.3}), WriteSamples("c.txt", {0.4})},
           [](TForm2& window) { Child<QCheckBox>(&window, "chk2")->setChecked(true); });
    const travik::RecordList& records = form->Document().Records();
    ASSERT_EQ(records.Count(), 3);
    EXPECT_EQ(records.At(0).SourceFileName(), "a.txt");
    EXPECT_EQ(records.At(2).SourceFileName(), "c.txt");
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "3");
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 3);
}

}  // namespace
