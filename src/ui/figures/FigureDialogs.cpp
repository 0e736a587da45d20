#include "ui/figures/FigureDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <optional>

#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"

namespace travik::figures {
namespace {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QSpinBox* Spin(const char* name, int low, int high, int value, const QString& suffix) {
    auto* spin = Named(new QSpinBox, name);
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setSuffix(suffix);
    return spin;
}

}  // namespace

ImageOptionsDialog::ImageOptionsDialog(ImageFormat format, const ImageOptions& options,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Image"));
    format_ = Named(new QComboBox, "cbbImageFormat");
    format_->addItems({QStringLiteral("PNG"), QStringLiteral("SVG"), QStringLiteral("PDF")});
    format_->setCurrentIndex(static_cast<int>(format));
    width_ = Spin("spnImageWidth", 16, 20000, options.size.width(), QStringLiteral(" px"));
    height_ = Spin("spnImageHeight", 16, 20000, options.size.height(), QStringLiteral(" px"));
    dpi_ = Spin("spnImageDpi", 36, 2400, options.dpi, QStringLiteral(" DPI"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Format"), format_);
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Height"), height_);
    form->addRow(QStringLiteral("Resolution"), dpi_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ImageFormat ImageOptionsDialog::Format() const {
    return static_cast<ImageFormat>(format_->currentIndex());
}

ImageOptions ImageOptionsDialog::Options() const {
    return {QSize(width_->value(), height_->value()), dpi_->value()};
}

TargetDialog::TargetDialog(const TargetChoice& choice, char decimalSeparator, QWidget* parent)
    : QDialog(parent), choice_(choice), decimalSeparator_(decimalSeparator) {
    setWindowTitle(QStringLiteral("Add target"));
    const auto text = [decimalSeparator](double v) {
        return QString::fromStdString(FormatGeneral(v, decimalSeparator));
    };
    const auto edit = [](const char* name, const QString& value) {
        auto* e = Named(new QLineEdit(value), name);
        e->setMaximumWidth(110);
        return e;
    };

    fileSource_ =
        Named(new QRadioButton(QStringLiteral("Spectrum file (period s, Sa g)")), "rbTargetFile");
    file_ = Named(new QLineEdit(choice.file), "edtTargetFile");
    auto* browse = Named(new QPushButton(QStringLiteral("Browse…")), "btnTargetBrowse");
    connect(browse, &QPushButton::clicked, this, &TargetDialog::BrowseRequested);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse);

    asceSource_ = Named(new QRadioButton(QStringLiteral("ASCE/SEI 7-22 §11.4.6 design spectrum")),
                        "rbTargetAsce");
    sds_ = edit("edtAsceSds", text(choice.asce.sds));
    sd1_ = edit("edtAsceSd1", text(choice.asce.sd1));
    tl_ = edit("edtAsceTl", text(choice.asce.longPeriod));
    auto* asceForm = new QFormLayout;
    asceForm->addRow(QStringLiteral("S_DS [g]"), sds_);
    asceForm->addRow(QStringLiteral("S_D1 [g]"), sd1_);
    asceForm->addRow(QStringLiteral("T_L [sec]"), tl_);

    eurocodeSource_ =
        Named(new QRadioButton(QStringLiteral("EN 1998-1 §3.2.2.2 horizontal elastic spectrum")),
              "rbTargetEurocode");
    type_ = Named(new QComboBox, "cbbEurocodeType");
    type_->addItems({QStringLiteral("Type 1"), QStringLiteral("Type 2")});
    type_->setCurrentIndex(static_cast<int>(choice.eurocode.type));
    ground_ = Named(new QComboBox, "cbbEurocodeGround");
    ground_->addItems({"A", "B", "C", "D", "E"});
    ground_->setCurrentIndex(static_cast<int>(choice.eurocode.ground));
    ag_ = edit("edtEurocodeAg", text(choice.eurocode.ag));
    damping_ = edit("edtEurocodeDamping", text(choice.eurocode.dampingPercent));
    auto* eurocodeForm = new QFormLayout;
    eurocodeForm->addRow(QStringLiteral("Spectrum"), type_);
    eurocodeForm->addRow(QStringLiteral("Ground type"), ground_);
    eurocodeForm->addRow(QStringLiteral("a_g [g]"), ag_);
    eurocodeForm->addRow(QStringLiteral("Damping ξ [%]"), damping_);

    ratioFrom_ = edit("edtRatioFrom", text(choice.ratioFrom));
    ratioTo_ = edit("edtRatioTo", text(choice.ratioTo));
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(new QLabel(QStringLiteral("Mean/target check from")));
    ratioRow->addWidget(ratioFrom_);
    ratioRow->addWidget(new QLabel(QStringLiteral("to")));
    ratioRow->addWidget(ratioTo_);
    ratioRow->addWidget(new QLabel(QStringLiteral("sec")));
    ratioRow->addStretch();

    switch (choice.source) {
        case TargetChoice::Source::File:
            fileSource_->setChecked(true);
            break;
        case TargetChoice::Source::Asce:
            asceSource_->setChecked(true);
            break;
        case TargetChoice::Source::Eurocode:
            eurocodeSource_->setChecked(true);
            break;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnTargetOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TargetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileSource_);
    layout->addLayout(fileRow);
    layout->addWidget(asceSource_);
    layout->addLayout(asceForm);
    layout->addWidget(eurocodeSource_);
    layout->addLayout(eurocodeForm);
    layout->addLayout(ratioRow);
    problemLabel_ = Named(new QLabel, "lblTargetProblem");
    problemLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(problemLabel_);
    layout->addWidget(buttons);
}

void TargetDialog::SetFile(const QString& path) {
    file_->setText(path);
    fileSource_->setChecked(true);
}

bool TargetDialog::Read() {
    TargetChoice read = choice_;
    const auto number = [this](QLineEdit* edit, double& value) {
        const std::optional<double> v =
            TryParseNumber(edit->text().toStdString(), decimalSeparator_);
        if (!v) {
            problem_ =
                QString::fromStdString(NotAValidFloatingNumberMessage(edit->text().toStdString()));
            edit->setFocus();
            return false;
        }
        value = *v;
        return true;
    };
    if (fileSource_->isChecked()) {
        read.source = TargetChoice::Source::File;
        read.file = file_->text().trimmed();
        if (read.file.isEmpty()) {
            problem_ = QStringLiteral("Choose a target spectrum file.");
            file_->setFocus();
            return false;
        }
    } else if (asceSource_->isChecked()) {
        read.source = TargetChoice::Source::Asce;
        if (!number(sds_, read.asce.sds) || !number(sd1_, read.asce.sd1) ||
            !number(tl_, read.asce.longPeriod)) {
            return false;
        }
        if (const std::string p = read.asce.Check(); !p.empty()) {
            problem_ = QString::fromStdString(p);
            return false;
        }
    } else {
        read.source = TargetChoice::Source::Eurocode;
        read.eurocode.type = static_cast<EurocodeSpectrumType>(type_->currentIndex());
        read.eurocode.ground = static_cast<EurocodeGroundType>(ground_->currentIndex());
        if (!number(ag_, read.eurocode.ag) || !number(damping_, read.eurocode.dampingPercent)) {
            return false;
        }
        if (const std::string p = read.eurocode.Check(); !p.empty()) {
            problem_ = QString::fromStdString(p);
            return false;
        }
    }
    if (!number(ratioFrom_, read.ratioFrom) || !number(ratioTo_, read.ratioTo)) {
        return false;
    }
    if (!(read.ratioFrom >= 0) || !(read.ratioTo > read.ratioFrom)) {
        problem_ = QStringLiteral(
            "The check's period range must run from zero or more to a "
            "longer period.");
        ratioTo_->setFocus();
        return false;
    }
    choice_ = read;
    problem_.clear();
    return true;
}

void TargetDialog::accept() {
    const bool ok = Read();
    problemLabel_->setText(problem_);
    if (ok) {
        QDialog::accept();
    }
}

}  // namespace travik::figures
