#include "ui/figures/FigureDialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace travik::figures {
namespace {

template <typename W>
W* Find(QWidget& dialog, const char* name) {
    W* widget = dialog.findChild<W*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(ImageOptionsDialog, StartsFromTheGivenValuesAndReadsThemBack) {
    ImageOptionsDialog dialog(ImageFormat::Png, ImageOptions{});
    EXPECT_EQ(Find<QSpinBox>(dialog, "spnImageWidth")->value(), 1600);
    EXPECT_EQ(Find<QSpinBox>(dialog, "spnImageHeight")->value(), 1000);
    EXPECT_EQ(Find<QSpinBox>(dialog, "spnImageDpi")->value(), 200);
    Find<QComboBox>(dialog, "cbbImageFormat")->setCurrentIndex(2);
    Find<QSpinBox>(dialog, "spnImageWidth")->setValue(800);
    Find<QSpinBox>(dialog, "spnImageDpi")->setValue(300);
    EXPECT_EQ(dialog.Format(), ImageFormat::Pdf);
    EXPECT_EQ(dialog.Options().size, QSize(800, 1000));
    EXPECT_EQ(dialog.Options().dpi, 300);
}

TEST(TargetDialog, ReadsACodeSpectrumWithTheUsersDecimalSeparator) {
    TargetDialog dialog(TargetChoice{}, ',');
    EXPECT_EQ(Find<QLineEdit>(dialog, "edtAsceSd1")->text(), "0,6");
    Find<QRadioButton>(dialog, "rbTargetEurocode")->setChecked(true);
    Find<QComboBox>(dialog, "cbbEurocodeType")->setCurrentIndex(1);
    Find<QComboBox>(dialog, "cbbEurocodeGround")->setCurrentIndex(3);
    Find<QLineEdit>(dialog, "edtEurocodeAg")->setText("0,15");
    Find<QLineEdit>(dialog, "edtEurocodeDamping")->setText("10");
    Find<QLineEdit>(dialog, "edtRatioFrom")->setText("0,1");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TargetChoice& c = dialog.Choice();
    EXPECT_EQ(c.source, TargetChoice::Source::Eurocode);
    EXPECT_EQ(c.eurocode.type, EurocodeSpectrumType::Type2);
    EXPECT_EQ(c.eurocode.ground, EurocodeGroundType::D);
    EXPECT_EQ(c.eurocode.ag, 0.15);
    EXPECT_EQ(c.eurocode.dampingPercent, 10);
    EXPECT_EQ(c.ratioFrom, 0.1);
    EXPECT_EQ(c.ratioTo, 3.0);
}

TEST(TargetDialog, StaysOpenAndSaysWhyOnBadInput) {
    TargetDialog dialog(TargetChoice{}, '.');
    Find<QLineEdit>(dialog, "edtAsceSds")->setText("abc");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Problem(), "\"abc\" is not a valid floating number!");
    EXPECT_EQ(Find<QLabel>(dialog, "lblTargetProblem")->text(), dialog.Problem());

    Find<QLineEdit>(dialog, "edtAsceSds")->setText("1");
    Find<QLineEdit>(dialog, "edtAsceTl")->setText("0.1");
    dialog.accept();
    EXPECT_EQ(dialog.Problem(), "T_L must be greater than T_S = S_D1 / S_DS");

    Find<QRadioButton>(dialog, "rbTargetFile")->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.Problem(), "Choose a target spectrum file.");
    dialog.SetFile("/data/target.csv");
    Find<QLineEdit>(dialog, "edtRatioTo")->setText("0.1");
    dialog.accept();
    EXPECT_EQ(dialog.Problem(),
              "The check's period range must run from zero or more to a longer period.");
    Find<QLineEdit>(dialog, "edtRatioTo")->setText("2");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Choice().source, TargetChoice::Source::File);
    EXPECT_EQ(dialog.Choice().file, "/data/target.csv");
}

}  // namespace
}  // namespace travik::figures
