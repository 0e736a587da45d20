#include "records/InputFileForm.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "app/FormHelpers.h"
#include "app/PlatformServices.h"
#include "text/NumberFormat.h"
#include "text/NumberParse.h"

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int value, QWidget* parent)
    : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(value);
    lineEdit()->setReadOnly(true);
}

TForm2::TForm2(PlatformServices& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), initialFolder_(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Input File Parameters"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    grp1 = Named(new QGroupBox(QStringLiteral("File Format")), "grp1");
    rb3 = Named(new QRadioButton(QStringLiteral("Free Type")), "rb3");
    rb4 = Named(new QRadioButton(QStringLiteral("PEER NGA (Underconstruction)")), "rb4");
    rb3->setChecked(true);
    rb4->setEnabled(false);
    auto* formatLayout = new QHBoxLayout(grp1);
    formatLayout->addWidget(rb3);
    formatLayout->addWidget(rb4);
    formatLayout->addStretch(1);

    const travik::FreeFormatParameters defaults;
    const auto text = [](double value) {
        return QString::fromStdString(travik::FormatGeneral(value, DecimalSeparator()));
    };
    grp2 = Named(new QGroupBox(QStringLiteral("Free Type Parameters")), "grp2");
    lbl1 = Named(new QLabel(QStringLiteral("Time Step dt ( s )")), "lbl1");
    edt1 = Named(new QLineEdit(text(defaults.timeStep)), "edt1");
    lbl2 = Named(new QLabel(QStringLiteral("Scaling Factor")), "lbl2");
    edt2 = Named(new QLineEdit(text(defaults.scalingFactor)), "edt2");
    lbl3 = Named(new QLabel(QStringLiteral("Number of Lines to Skip")), "lbl3");
    edt3 = Named(new ArrowSpinBox(0, 100, defaults.linesToSkip), "edt3");
    lbl4 = Named(new QLabel(QStringLiteral("Delimeiter")), "lbl4");
    rb1 = Named(new QRadioButton(QStringLiteral("Comma")), "rb1");
    rb2 = Named(new QRadioButton(QStringLiteral("Space")), "rb2");
    (defaults.delimiter == travik::Delimiter::Comma ? rb1 : rb2)->setChecked(true);
    lbl5 = Named(new QLabel(QStringLiteral("Acceleration Column")), "lbl5");
    edt4 = Named(new ArrowSpinBox(1, 100, defaults.accelerationColumn), "edt4");
    QPalette tipColours = edt4->palette();
    tipColours.setColor(QPalette::Base, tipColours.color(QPalette::ToolTipBase));
    tipColours.setColor(QPalette::Text, tipColours.color(QPalette::ToolTipText));
    edt4->setPalette(tipColours);

    auto* parameters = new QGridLayout(grp2);
    parameters->addWidget(lbl1, 0, 0);
    parameters->addWidget(edt1, 0, 1);
    parameters->addWidget(lbl2, 1, 0);
    parameters->addWidget(edt2, 1, 1);
    parameters->addWidget(lbl3, 2, 0);
    parameters->addWidget(edt3, 2, 1);
    parameters->addWidget(lbl4, 3, 0);
    auto* delimiters = new QHBoxLayout;
    delimiters->addWidget(rb1);
    delimiters->addWidget(rb2);
    delimiters->addStretch(1);
    parameters->addLayout(delimiters, 3, 1);
    parameters->addWidget(lbl5, 4, 0);
    parameters->addWidget(edt4, 4, 1);

    btn1 = Named(new QPushButton(QStringLiteral("OK")), "btn1");
    btn2 = Named(new QPushButton(QStringLiteral("Cancel")), "btn2");
    btn1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn1);
    buttons->addWidget(btn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grp1);
    layout->addWidget(grp2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn1, &QPushButton::clicked, this, &TForm2::btn1Click);
    connect(btn2, &QPushButton::clicked, this, &TForm2::btn2Click);
}

bool TForm2::ReadNumber(QLineEdit* edit, double& value) {
    const std::string text = edit->text().toStdString();
    const auto number = travik::TryParseNumber(text, DecimalSeparator());
    if (!number) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(travik::NotAValidFloatingNumberMessage(text)));
        edit->setFocus();
        return false;
    }
    value = *number;
    return true;
}

bool TForm2::ReadParameters(travik::FreeFormatParameters& parameters) {
    if (!ReadNumber(edt1, parameters.timeStep) || !ReadNumber(edt2, parameters.scalingFactor)) {
        return false;
    }
    parameters.linesToSkip = edt3->value();
    parameters.delimiter = rb1->isChecked() ? travik::Delimiter::Comma : travik::Delimiter::Space;
    parameters.accelerationColumn = edt4->value();
    parameters.decimalSeparator = DecimalSeparator();
    return true;
}

void TForm2::btn1Click() {
    travik::FreeFormatParameters parameters;
    if (!ReadParameters(parameters)) {
        return;
    }
    hide();
    // Whatever happens from here on, the window closes.
    struct CloseOnExit {
        TForm2* window;
        ~CloseOnExit() { window->close(); }
    } closeOnExit{this};

    const QStringList files = platform_.ChooseRecordFiles(parentWidget(), initialFolder_);
    if (files.isEmpty()) {
        return;
    }
    emit FilesChosen(parameters, files);
}

void TForm2::btn2Click() {
    close();
}
