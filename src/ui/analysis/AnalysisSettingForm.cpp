#include "ui/analysis/AnalysisSettingForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/text/NumberFormat.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"

namespace {

QLineEdit* MakeEdit(const char* name) {
    auto* edit = Named(new QLineEdit, name);
    edit->setMinimumWidth(110);
    return edit;
}

}  // namespace

TForm3::TForm3(const travik::AnalysisSettings& settings, char decimalSeparator,
               PlatformServices& platform, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      decimalSeparator_(decimalSeparator),
      platform_(platform) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Analysis Settings"));
    KeepOnScreen(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    grp1 = Named(new QGroupBox(QStringLiteral("Period Range and Step (for Response Spectra)")),
                 "grp1");
    lbl1 = Named(new QLabel(QStringLiteral("Min. Period (s)")), "lbl1");
    edt1 = MakeEdit("edt1");
    lbl2 = Named(new QLabel(QStringLiteral("Max. Period (s)")), "lbl2");
    edt2 = MakeEdit("edt2");
    lbl3 = Named(new QLabel(QStringLiteral("Period Step  (s)")), "lbl3");
    edt3 = MakeEdit("edt3");
    auto* periods = new QGridLayout(grp1);
    periods->addWidget(lbl1, 0, 0);
    periods->addWidget(edt1, 0, 1);
    periods->addWidget(lbl2, 1, 0);
    periods->addWidget(edt2, 1, 1);
    periods->addWidget(lbl3, 2, 0);
    periods->addWidget(edt3, 2, 1);

    grp2 = Named(new QGroupBox(QStringLiteral("Numerical Method Parameters")), "grp2");
    lbl4 = Named(new QLabel(QStringLiteral("Type of Method")), "lbl4");
    rb1 = Named(new QRadioButton(QStringLiteral("Piecewise Exact Method")), "rb1");
    rb2 = Named(new QRadioButton(QStringLiteral("Newmark's Method ")), "rb2");
    lbl5 = Named(new QLabel(QStringLiteral("Maximum dt/T")), "lbl5");
    edt4 = MakeEdit("edt4");
    lbl6 = Named(new QLabel(QStringLiteral("Beta")), "lbl6");
    edt6 = MakeEdit("edt6");
    lbl7 = Named(new QLabel(QStringLiteral("Gamma")), "lbl7");
    edt5 = MakeEdit("edt5");
    auto* method = new QGridLayout(grp2);
    method->addWidget(lbl4, 0, 0, 1, 2);
    method->addWidget(rb1, 1, 0, 1, 2);
    method->addWidget(rb2, 2, 0, 1, 2);
    method->addWidget(lbl5, 3, 0);
    method->addWidget(edt4, 3, 1);
    method->addWidget(lbl6, 4, 0);
    method->addWidget(edt6, 4, 1);
    method->addWidget(lbl7, 5, 0);
    method->addWidget(edt5, 5, 1);

    grp3 = Named(new QGroupBox(QStringLiteral("Gravitational Acceleration")), "grp3");
    lbl8 = Named(new QLabel(QStringLiteral("g (cm/s2)")), "lbl8");
    edt7 = MakeEdit("edt7");
    auto* gravity = new QGridLayout(grp3);
    gravity->addWidget(lbl8, 0, 0);
    gravity->addWidget(edt7, 0, 1);
    for (QGridLayout* grid : {periods, method, gravity}) {
        grid->setColumnStretch(0, 1);
    }

    btn1 = Named(new QPushButton(QStringLiteral("Program Defaults")), "btn1");
    btn2 = Named(new QPushButton(QStringLiteral("Update")), "btn2");
    btn3 = Named(new QPushButton(QStringLiteral("Cancel")), "btn3");
    btn2->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn1);
    buttons->addStretch(1);
    buttons->addWidget(btn2);
    buttons->addWidget(btn3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grp1);
    layout->addWidget(grp2);
    layout->addWidget(grp3);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(QSize(302, 391).expandedTo(layout->totalSizeHint()));

    setTabOrder(rb1, rb2);
    setTabOrder(rb2, edt4);
    setTabOrder(edt4, edt6);
    setTabOrder(edt6, edt5);

    edt6->setEnabled(false);
    edt5->setEnabled(false);
    connect(rb1, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            rb1Click();
        }
    });
    connect(rb2, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            rb2Click();
        }
    });
    connect(btn1, &QPushButton::clicked, this, &TForm3::btn1Click);
    connect(btn2, &QPushButton::clicked, this, &TForm3::btn2Click);
    connect(btn3, &QPushButton::clicked, this, &TForm3::btn3Click);
    FillControls(settings_);
}

QString TForm3::Text(double value) const {
    return QString::fromStdString(travik::FormatGeneral(value, decimalSeparator_));
}

void TForm3::FillControls(const travik::AnalysisSettings& settings) {
    edt1->setText(Text(settings.minPeriod));
    edt2->setText(Text(settings.maxPeriod));
    edt3->setText(Text(settings.periodStep));
    if (settings.method == travik::IntegrationMethod::Newmark) {
        rb2->setChecked(true);
    } else {
        rb1->setChecked(true);
    }
    edt4->setText(Text(settings.maxDtOverT));
    edt6->setText(Text(settings.beta));
    edt5->setText(Text(settings.gamma));
    edt7->setText(Text(settings.g));
}

void TForm3::rb1Click() {
    edt6->setText(Text(settings_.beta));
    edt5->setText(Text(settings_.gamma));
    edt6->setEnabled(false);
    edt5->setEnabled(false);
}

void TForm3::rb2Click() {
    edt6->setEnabled(true);
    edt5->setEnabled(true);
}

void TForm3::btn1Click() {
    const travik::AnalysisSettings defaults;
    edt1->setText(Text(defaults.minPeriod));
    edt2->setText(Text(defaults.maxPeriod));
    edt3->setText(Text(defaults.periodStep));
    rb1->setChecked(true);
    edt6->setEnabled(false);
    edt5->setEnabled(false);
    edt4->setText(Text(defaults.maxDtOverT));
    edt6->setText(Text(defaults.beta));
    edt5->setText(Text(defaults.gamma));
    edt7->setText(Text(defaults.g));
}

QLineEdit* TForm3::EditOf(travik::SettingsField field) const {
    switch (field) {
        case travik::SettingsField::MinPeriod:
            return edt1;
        case travik::SettingsField::MaxPeriod:
            return edt2;
        case travik::SettingsField::PeriodStep:
            return edt3;
        case travik::SettingsField::MaxDtOverT:
            return edt4;
        case travik::SettingsField::Beta:
            return edt6;
        case travik::SettingsField::Gamma:
            return edt5;
        case travik::SettingsField::G:
            return edt7;
        case travik::SettingsField::None:
            break;
    }
    return nullptr;
}

void TForm3::btn2Click() {
    travik::AnalysisSettingsTexts texts;
    texts.minPeriod = edt1->text().toStdString();
    texts.maxPeriod = edt2->text().toStdString();
    texts.periodStep = edt3->text().toStdString();
    texts.method = rb1->isChecked() ? travik::IntegrationMethod::PiecewiseExact
                                    : travik::IntegrationMethod::Newmark;
    texts.maxDtOverT = edt4->text().toStdString();
    texts.beta = edt6->text().toStdString();
    texts.gamma = edt5->text().toStdString();
    texts.g = edt7->text().toStdString();
    const travik::SettingsUpdateResult result =
        travik::UpdateAnalysisSettings(texts, settings_, decimalSeparator_);
    if (!result.accepted) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(result.message));
        if (QLineEdit* edit = EditOf(result.focus)) {
            edit->setFocus();
        }
        return;
    }
    settings_ = result.settings;
    emit SettingsUpdated(settings_);
}

void TForm3::btn3Click() {
    close();
}
