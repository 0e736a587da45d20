#include "ui/records/FilterDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/records/ButterworthFilter.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/MeasureFigures.h"

namespace {

constexpr int kNoFilter = 0;
constexpr int kPreviewPoints = 200;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

FilterDialog::FilterDialog(const std::optional<travik::FilterSettings>& filter, double timeStep,
                           int sampleCount, char decimalSeparator, PlatformServices& platform,
                           QWidget* parent)
    : QDialog(parent),
      timeStep_(timeStep),
      sampleCount_(sampleCount),
      decimalSeparator_(decimalSeparator),
      platform_(platform) {
    setObjectName(QStringLiteral("FilterDialog"));
    setWindowTitle(QStringLiteral("Filter"));
    KeepOnScreen(this);
    const travik::FilterSettings shown = filter.value_or(travik::FilterSettings{});

    cbbFilterBand = Named(new QComboBox, "cbbFilterBand");
    cbbFilterBand->addItems({QStringLiteral("No Filter"), QStringLiteral("Low-pass"),
                             QStringLiteral("High-pass"), QStringLiteral("Band-pass")});
    cbbFilterBand->setCurrentIndex(filter ? 1 + static_cast<int>(shown.band) : kNoFilter);
    edtLowCorner =
        Named(new QLineEdit(Text(travik::FormatGeneral(shown.lowCorner, decimalSeparator))),
              "edtLowCorner");
    edtHighCorner =
        Named(new QLineEdit(Text(travik::FormatGeneral(shown.highCorner, decimalSeparator))),
              "edtHighCorner");
    spnFilterOrder = Named(new QSpinBox, "spnFilterOrder");
    spnFilterOrder->setRange(1, 8);
    spnFilterOrder->setValue(std::clamp(shown.order, 1, 8));
    chkAcausal = Named(new QCheckBox(QStringLiteral("Acausal (forward and backward, zero phase)")),
                       "chkAcausal");
    chkAcausal->setChecked(shown.acausal);
    lblFilterNote = Named(new QLabel, "lblFilterNote");
    lblFilterNote->setWordWrap(true);

    chtFilterResponse = Named(new travik::figures::FigureView, "chtFilterResponse");
    chtFilterResponse->setMinimumSize(420, 240);
    chtFilterResponse->SetFigure(travik::figures::FilterGainFigure({}));

    btnFilterOk = Named(new QPushButton(QStringLiteral("OK")), "btnFilterOk");
    btnFilterCancel = Named(new QPushButton(QStringLiteral("Cancel")), "btnFilterCancel");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Butterworth filter"), cbbFilterBand);
    form->addRow(QStringLiteral("Low corner [Hz] (high-pass)"), edtLowCorner);
    form->addRow(QStringLiteral("High corner [Hz] (low-pass)"), edtHighCorner);
    form->addRow(QStringLiteral("Order per corner"), spnFilterOrder);
    form->addRow(chkAcausal);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnFilterOk);
    buttons->addWidget(btnFilterCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblFilterNote);
    layout->addWidget(chtFilterResponse, 1);
    layout->addLayout(buttons);

    connect(cbbFilterBand, &QComboBox::currentIndexChanged, this,
            &FilterDialog::cbbFilterBandChange);
    connect(edtLowCorner, &QLineEdit::textChanged, this, &FilterDialog::EditsChanged);
    connect(edtHighCorner, &QLineEdit::textChanged, this, &FilterDialog::EditsChanged);
    connect(spnFilterOrder, &QSpinBox::valueChanged, this, &FilterDialog::EditsChanged);
    connect(chkAcausal, &QCheckBox::toggled, this, &FilterDialog::EditsChanged);
    connect(btnFilterOk, &QPushButton::clicked, this, &FilterDialog::btnFilterOkClick);
    connect(btnFilterCancel, &QPushButton::clicked, this, &QDialog::reject);
    cbbFilterBandChange();
}

std::optional<travik::FilterSettings> FilterDialog::ReadFilter(
    std::optional<travik::FilterProblem>& problem) const {
    problem.reset();
    const int band = cbbFilterBand->currentIndex();
    if (band == kNoFilter) {
        return std::nullopt;
    }
    travik::FilterSettings settings;
    settings.band = static_cast<travik::FilterBand>(band - 1);
    settings.order = spnFilterOrder->value();
    settings.acausal = chkAcausal->isChecked();
    const auto read = [&](QLineEdit* edit, travik::FilterField field, double& value) {
        if (!edit->isEnabled() || problem) {
            return;
        }
        const std::string text = edit->text().toStdString();
        if (const auto number = travik::TryParseNumber(text, decimalSeparator_)) {
            value = *number;
        } else {
            problem = travik::FilterProblem{field, travik::NotAValidFloatingNumberMessage(text)};
        }
    };
    read(edtLowCorner, travik::FilterField::LowCorner, settings.lowCorner);
    read(edtHighCorner, travik::FilterField::HighCorner, settings.highCorner);
    if (!problem) {
        problem = settings.Check(timeStep_, sampleCount_);
    }
    return settings;
}

void FilterDialog::cbbFilterBandChange() {
    const int band = cbbFilterBand->currentIndex();
    const bool filtering = band != kNoFilter;
    edtLowCorner->setEnabled(band == 2 || band == 3);
    edtHighCorner->setEnabled(band == 1 || band == 3);
    spnFilterOrder->setEnabled(filtering);
    chkAcausal->setEnabled(filtering);
    UpdatePreview();
}

void FilterDialog::EditsChanged() {
    UpdatePreview();
}

void FilterDialog::UpdatePreview() {
    chtFilterResponse->SetFigure(travik::figures::FilterGainFigure({}));
    std::optional<travik::FilterProblem> problem;
    const std::optional<travik::FilterSettings> settings = ReadFilter(problem);
    if (!settings) {
        lblFilterNote->setText(QStringLiteral("The record is used as corrected, unfiltered."));
        return;
    }
    if (problem) {
        lblFilterNote->setText(Text(problem->message));
        if (problem->field == travik::FilterField::Record) {
            // Pads too long to compute: the response can still be shown.
            problem.reset();
        } else {
            return;
        }
    } else {
        QString note = QStringLiteral(
                           "Zero pads: %1 s before and after the record (1.5 x order / corner "
                           "in all).")
                           .arg(Text(travik::FormatNumber(0.5 * settings->PadDuration(), "0.###",
                                                          decimalSeparator_)));
        if (const auto warning = settings->ResolutionWarning(timeStep_, sampleCount_)) {
            note += QStringLiteral("\n") + Text(*warning);
        }
        lblFilterNote->setText(note);
    }
    const auto design = travik::DesignButterworth(*settings, timeStep_);
    if (!design) {
        return;
    }
    // From a decade below the lowest corner to the Nyquist frequency, evenly in log.
    const double nyquist = 0.5 / timeStep_;
    const double lowest =
        settings->band == travik::FilterBand::LowPass ? settings->highCorner : settings->lowCorner;
    const double first = std::min(lowest / 10.0, nyquist / 1000.0);
    QList<QPointF> points;
    for (int i = 0; i <= kPreviewPoints; ++i) {
        const double f = first * std::pow(nyquist / first, static_cast<double>(i) / kPreviewPoints);
        points.append(QPointF(f, travik::FilterGain(*design, std::min(f, nyquist))));
    }
    chtFilterResponse->SetFigure(travik::figures::FilterGainFigure(points));
}

void FilterDialog::btnFilterOkClick() {
    std::optional<travik::FilterProblem> problem;
    const std::optional<travik::FilterSettings> settings = ReadFilter(problem);
    if (problem) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Warning, Text(problem->message));
        switch (problem->field) {
            case travik::FilterField::LowCorner:
                edtLowCorner->setFocus();
                break;
            case travik::FilterField::HighCorner:
                edtHighCorner->setFocus();
                break;
            case travik::FilterField::Order:
                spnFilterOrder->setFocus();
                break;
            default:
                cbbFilterBand->setFocus();
                break;
        }
        return;
    }
    emit FilterChosen(settings);
    accept();
}
