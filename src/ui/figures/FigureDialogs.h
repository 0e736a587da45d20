#pragma once

#include <QDialog>
#include <QString>

#include "core/spectra/DesignSpectra.h"
#include "ui/figures/FigureExport.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace travik::figures {

// Format, size and resolution of a saved chart; built from the values it edits.
// Controls: cbbImageFormat, spnImageWidth, spnImageHeight, spnImageDpi.
class ImageOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    ImageOptionsDialog(ImageFormat format, const ImageOptions& options, QWidget* parent = nullptr);
    ImageFormat Format() const;
    ImageOptions Options() const;

  private:
    QComboBox* format_;
    QSpinBox* width_;
    QSpinBox* height_;
    QSpinBox* dpi_;
};

// Where a target spectrum comes from and the period range of the mean/target check.
struct TargetChoice {
    enum class Source { File, Asce, Eurocode };
    Source source = Source::Asce;
    QString file;
    AsceTwoPeriodParameters asce;
    EurocodeElasticParameters eurocode;
    double ratioFrom = 0.2;  // s
    double ratioTo = 3.0;    // s
};

// "Add target…": a two-column file, or a code spectrum from its parameters.
// Controls: rbTargetFile, edtTargetFile, btnTargetBrowse, rbTargetAsce, edtAsceSds,
// edtAsceSd1, edtAsceTl, rbTargetEurocode, cbbEurocodeType, cbbEurocodeGround, edtEurocodeAg,
// edtEurocodeDamping, edtRatioFrom, edtRatioTo. Numbers use the user's decimal separator;
// "OK" checks them; a refusal is shown in the dialog (lblTargetProblem) and in `Problem()`,
// and the dialog stays open.
class TargetDialog : public QDialog {
    Q_OBJECT
  public:
    TargetDialog(const TargetChoice& choice, char decimalSeparator, QWidget* parent = nullptr);
    // Valid after the dialog was accepted.
    const TargetChoice& Choice() const { return choice_; }
    // The message of the last refused "OK", empty when none.
    const QString& Problem() const { return problem_; }

  signals:
    void BrowseRequested();

  public slots:
    void accept() override;
    void SetFile(const QString& path);

  private:
    bool Read();

    TargetChoice choice_;
    char decimalSeparator_;
    QString problem_;
    QRadioButton* fileSource_;
    QRadioButton* asceSource_;
    QRadioButton* eurocodeSource_;
    QLineEdit* file_;
    QLineEdit* sds_;
    QLineEdit* sd1_;
    QLineEdit* tl_;
    QComboBox* type_;
    QComboBox* ground_;
    QLineEdit* ag_;
    QLineEdit* damping_;
    QLineEdit* ratioFrom_;
    QLineEdit* ratioTo_;
    QLabel* problemLabel_;
};

}  // namespace travik::figures
