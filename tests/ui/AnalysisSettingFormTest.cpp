#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "RecordsFixture.h"
#include "ui/analysis/AnalysisSettingForm.h"

namespace {

class SettingsWindow : public RecordsFixture {
  protected:
    TForm3* Open() {
        Frame<QAction>("Setting1")->trigger();
        EXPECT_NE(form->findChild<TForm3*>(), nullptr);
        return form->findChild<TForm3*>();
    }

    void Close() {
        Child<QPushButton>(form->findChild<TForm3*>(), "btn3")->click();
        ProcessDeletions();
        ASSERT_EQ(form->findChild<TForm3*>(), nullptr);
    }

    // Sets the period edits and g, presses "Update".
    void Update(TForm3* window, const QString& minPeriod, const QString& maxPeriod,
                const QString& step, const QString& ratio = "0.02", const QString& g = "980") {
        Child<QLineEdit>(window, "edt1")->setText(minPeriod);
        Child<QLineEdit>(window, "edt2")->setText(maxPeriod);
        Child<QLineEdit>(window, "edt3")->setText(step);
        Child<QLineEdit>(window, "edt4")->setText(ratio);
        Child<QLineEdit>(window, "edt7")->setText(g);
        Child<QPushButton>(window, "btn2")->click();
    }

    void ExpectDefaultsStored() const {
        const travik::AnalysisSettings& s = form->Document().Settings();
        EXPECT_EQ(s.g, 980.0);
        EXPECT_EQ(s.minPeriod, 0.02);
        EXPECT_EQ(s.maxPeriod, 6.0);
        EXPECT_EQ(s.periodStep, 0.02);
        EXPECT_EQ(s.method, travik::IntegrationMethod::PiecewiseExact);
        EXPECT_EQ(s.maxDtOverT, 0.02);
        EXPECT_EQ(s.beta, 0.25);
        EXPECT_EQ(s.gamma, 0.5);
    }
};

TEST_F(SettingsWindow, ShowsTheStoredSettingsAsWritten) {
    TForm3* window = Open();
    EXPECT_EQ(window->windowTitle(), "Analysis Settings");
    EXPECT_TRUE(window->isModal());
    EXPECT_EQ(Child<QLineEdit>(window, "edt1")->text(), "0.02");
    EXPECT_EQ(Child<QLineEdit>(window, "edt2")->text(), "6");
    EXPECT_EQ(Child<QLineEdit>(window, "edt3")->text(), "0.02");
    EXPECT_TRUE(Child<QRadioButton>(window, "rb1")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(window, "rb2")->text(), "Newmark's Method ");
    EXPECT_EQ(Child<QLineEdit>(window, "edt4")->text(), "0.02");
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.25");
    EXPECT_EQ(Child<QLineEdit>(window, "edt5")->text(), "0.5");
    EXPECT_FALSE(Child<QLineEdit>(window, "edt6")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(window, "edt5")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(window, "edt7")->text(), "980");
    EXPECT_EQ(Child<QLabel>(window, "lbl3")->text(), "Period Step  (s)");
}

TEST_F(SettingsWindow, UpdatingTheUntouchedDefaultsStoresExactlyTheDefaults) {
    TForm3* window = Open();
    Child<QPushButton>(window, "btn2")->click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(window->isVisible());
    ExpectDefaultsStored();
}

struct Rejection {
    const char* minPeriod;
    const char* maxPeriod;
    const char* step;
    const char* ratio;
    const char* g;
    const char* message;
    const char* focus;
};

TEST_F(SettingsWindow, EachCheckShowsItsMessageFocusesItsEditAndStoresNothing) {
    const Rejection cases[] = {
        {"abc", "6", "0.02", "0.02", "980", "\"abc\" is not a valid floating number!", "edt1"},
        {"0", "6", "0.02", "0.02", "980", "Min. Period must be greater than zero! ", "edt1"},
        // A negative minimum is refused before the maximum is read.
        {"-1", "xyz", "0.02", "0.02", "980", "Min. Period must be greater than zero! ", "edt1"},
        {"0.02", "", "0.02", "0.02", "980", "\"\" is not a valid floating number!", "edt2"},
        {"0.02", "-3", "0.02", "0.02", "980", "Max. Period must be greater than zero! ", "edt2"},
        {"2", "2", "0.02", "0.02", "980", "Max. Period must be greater than Min. Period! ", "edt2"},
        {"0.02", "6", "x", "0.02", "980", "\"x\" is not a valid floating number!", "edt3"},
        {"0.5", "2.5", "2.5", "0.02", "980",
         "periodstep must be less than [Max. Period - Min. Period] ! ", "edt3"},
        // More periods than an analysis may have: refused before any list is built.
        {"0.02", "6", "1e-9", "0.02", "980",
         "Too many periods: the period range and step give 5980000002 periods, at most 100000 "
         "are allowed! Make the period step larger or the range smaller. ",
         "edt3"},
        {"0.02", "1e308", "0.02", "0.02", "980",
         "Too many periods: the period range and step give more than 10^15 periods, at most "
         "100000 are allowed! Make the period step larger or the range smaller. ",
         "edt3"},
        {"0.02", "6", "0.02", "1e", "980", "\"1e\" is not a valid floating number!", "edt4"},
        {"0.02", "6", "0.02", "0", "980", "Maximum dt/T  must be greater than zero! ", "edt4"},
        {"0.02", "6", "0.02", "0.02", "g", "\"g\" is not a valid floating number!", "edt7"},
        {"0.02", "6", "0.02", "0.02", "-9.81",
         "Gravitational acceleration must be greater than zero! ", "edt7"},
    };
    TForm3* window = Open();
    for (const Rejection& c : cases) {
        platform.messages.clear();
        Update(window, c.minPeriod, c.maxPeriod, c.step, c.ratio, c.g);
        ASSERT_EQ(platform.messages.size(), 1u) << c.message;
        EXPECT_EQ(platform.messages[0].kind, PlatformServices::MessageKind::Warning);
        EXPECT_EQ(platform.messages[0].text.toStdString(), c.message);
        ASSERT_NE(window->focusWidget(), nullptr);
        EXPECT_EQ(window->focusWidget()->objectName().toStdString(), c.focus) << c.message;
        ExpectDefaultsStored();
    }
    // A step of zero is refused too, with its own wording.
    platform.messages.clear();
    Update(window, "0.02", "6", "0");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(window->focusWidget(), Child<QLineEdit>(window, "edt3"));
    ExpectDefaultsStored();
}

TEST_F(SettingsWindow, AcceptedUpdatesAreStoredAtOnceAndTheWindowStaysOpen) {
    TForm3* window = Open();
    Update(window, "0.5", "2.5", "2", "0.01", "981");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(form->Document().Settings().minPeriod, 0.5);
    EXPECT_EQ(form->Document().Settings().maxPeriod, 2.5);
    EXPECT_EQ(form->Document().Settings().periodStep, 2.0);
    EXPECT_EQ(form->Document().Settings().maxDtOverT, 0.01);
    EXPECT_EQ(form->Document().Settings().g, 981.0);
    EXPECT_TRUE(window->isVisible());
    // A step equal to the range is accepted as well.
    Update(window, "0.5", "2.5", "2.0");
    EXPECT_TRUE(platform.messages.empty());
    Close();

    window = Open();
    EXPECT_EQ(Child<QLineEdit>(window, "edt1")->text(), "0.5");
    EXPECT_EQ(Child<QLineEdit>(window, "edt2")->text(), "2.5");
    EXPECT_EQ(Child<QLineEdit>(window, "edt3")->text(), "2");
    EXPECT_EQ(Child<QLineEdit>(window, "edt7")->text(), "980");
}

TEST_F(SettingsWindow, BetaAndGammaAreReadOnlyForNewmark) {
    TForm3* window = Open();
    Child<QLineEdit>(window, "edt6")->setText("garbage");
    Child<QLineEdit>(window, "edt5")->setText("");
    Child<QPushButton>(window, "btn2")->click();
    EXPECT_TRUE(platform.messages.empty());
    ExpectDefaultsStored();

    Child<QRadioButton>(window, "rb2")->click();
    EXPECT_TRUE(Child<QLineEdit>(window, "edt6")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(window, "edt5")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(),
              "garbage");  // enabling leaves the texts alone
    Child<QPushButton>(window, "btn2")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "\"garbage\" is not a valid floating number!");
    EXPECT_EQ(window->focusWidget(), Child<QLineEdit>(window, "edt6"));
    Child<QLineEdit>(window, "edt6")->setText("0");
    Child<QPushButton>(window, "btn2")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "\"\" is not a valid floating number!");
    EXPECT_EQ(window->focusWidget(), Child<QLineEdit>(window, "edt5"));

    // Any number goes, zero and negative ones included.
    Child<QLineEdit>(window, "edt5")->setText("-0.5");
    Child<QPushButton>(window, "btn2")->click();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(form->Document().Settings().method, travik::IntegrationMethod::Newmark);
    EXPECT_EQ(form->Document().Settings().beta, 0.0);
    EXPECT_EQ(form->Document().Settings().gamma, -0.5);
}

TEST_F(SettingsWindow, PiecewiseExactShowsTheStoredBetaAndGammaAgain) {
    TForm3* window = Open();
    Child<QRadioButton>(window, "rb2")->click();
    Child<QLineEdit>(window, "edt6")->setText("0.3");
    Child<QPushButton>(window, "btn2")->click();
    Child<QRadioButton>(window, "rb1")->click();
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.3");
    EXPECT_FALSE(Child<QLineEdit>(window, "edt6")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(window, "edt5")->isEnabled());

    Child<QRadioButton>(window, "rb2")->click();
    Child<QLineEdit>(window, "edt6")->setText("0.4");
    Child<QRadioButton>(window, "rb1")->click();
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.3");
    EXPECT_EQ(Child<QLineEdit>(window, "edt5")->text(), "0.5");
}

TEST_F(SettingsWindow, TypedBetaWithoutUpdateIsForgottenOnPiecewiseExact) {
    TForm3* window = Open();
    Child<QRadioButton>(window, "rb2")->click();
    Child<QLineEdit>(window, "edt6")->setText("0.3");
    Child<QRadioButton>(window, "rb1")->click();
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.25");
}

TEST_F(SettingsWindow, AStoredNewmarkSettingOpensWithNewmarkChosen) {
    TForm3* window = Open();
    Child<QRadioButton>(window, "rb2")->click();
    Child<QLineEdit>(window, "edt6")->setText("0.1667");
    Child<QPushButton>(window, "btn2")->click();
    Close();
    window = Open();
    EXPECT_TRUE(Child<QRadioButton>(window, "rb2")->isChecked());
    EXPECT_TRUE(Child<QLineEdit>(window, "edt6")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(window, "edt5")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.1667");
}

TEST_F(SettingsWindow, ProgramDefaultsThenCancelLeavesTheStoredSettings) {
    TForm3* window = Open();
    Child<QRadioButton>(window, "rb2")->click();
    Update(window, "0.1", "4", "0.05", "0.01", "981");
    ASSERT_TRUE(platform.messages.empty());
    const travik::AnalysisSettings stored = form->Document().Settings();

    Child<QPushButton>(window, "btn1")->click();
    EXPECT_EQ(Child<QLineEdit>(window, "edt1")->text(), "0.02");
    EXPECT_EQ(Child<QLineEdit>(window, "edt2")->text(), "6");
    EXPECT_EQ(Child<QLineEdit>(window, "edt3")->text(), "0.02");
    EXPECT_TRUE(Child<QRadioButton>(window, "rb1")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>(window, "edt6")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(window, "edt4")->text(), "0.02");
    EXPECT_EQ(Child<QLineEdit>(window, "edt6")->text(), "0.25");
    EXPECT_EQ(Child<QLineEdit>(window, "edt5")->text(), "0.5");
    EXPECT_EQ(Child<QLineEdit>(window, "edt7")->text(), "980");
    Close();

    EXPECT_EQ(form->Document().Settings().minPeriod, stored.minPeriod);
    EXPECT_EQ(form->Document().Settings().maxPeriod, 4.0);
    EXPECT_EQ(form->Document().Settings().periodStep, 0.05);
    EXPECT_EQ(form->Document().Settings().g, 981.0);
    EXPECT_EQ(form->Document().Settings().method, travik::IntegrationMethod::Newmark);
}

TEST_F(SettingsWindow, EditsUseTheLocalesDecimalSeparator) {
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(german);
    TForm3* window = Open();
    EXPECT_EQ(Child<QLineEdit>(window, "edt1")->text(), "0,02");
    Update(window, "0,05", "3", "0,05", "0,02");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(form->Document().Settings().minPeriod, 0.05);
}

}  // namespace
