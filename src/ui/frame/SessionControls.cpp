#include "ui/frame/SessionControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <charconv>
#include <cmath>

#include "core/analysis/DampingValues.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "ui/app/FormHelpers.h"

namespace {

constexpr const char* kChoiceLists[] = {"cbb5", "cbb7", "cbbShow"};
constexpr const char* kChoiceBoxes[] = {"chkLogX",  "chkLogY",    "chkMean",    "chkMedian",
                                        "chkSigma", "chkLogMean", "chkLogSigma"};
constexpr const char* kRecordLists[] = {"lst1", "lst3", "lstMeasures"};

template <class T>
T* Find(const QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

QLineEdit* DampingEdit(const QWidget& window, int index) {
    return window.findChild<QLineEdit*>(QStringLiteral("edt%1").arg(16 + index));
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (text.empty() || read.ec != std::errc() || read.ptr != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ControlChoices CaptureFigureChoices(const QWidget& window) {
    ControlChoices choices;
    for (const char* name : kChoiceLists) {
        if (const auto* list = Find<QComboBox>(window, name)) {
            choices[name] = std::to_string(list->currentIndex());
        }
    }
    for (const char* name : kChoiceBoxes) {
        if (const auto* box = Find<QCheckBox>(window, name)) {
            choices[name] = box->isChecked() ? "true" : "false";
        }
    }
    return choices;
}

void ApplyFigureChoices(QWidget& window, const ControlChoices& choices) {
    for (const char* name : kChoiceLists) {
        const auto found = choices.find(name);
        auto* list = Find<QComboBox>(window, name);
        if (found == choices.end() || list == nullptr) {
            continue;
        }
        const std::optional<int> index = WholeNumber(found->second);
        if (index && *index >= 0 && *index < list->count()) {
            list->setCurrentIndex(*index);
        }
    }
    for (const char* name : kChoiceBoxes) {
        const auto found = choices.find(name);
        auto* box = Find<QCheckBox>(window, name);
        if (found == choices.end() || box == nullptr) {
            continue;
        }
        if (found->second == "true" || found->second == "false") {
            box->setChecked(found->second == "true");
        }
    }
}

std::optional<std::vector<double>> CaptureDampingPercents(const QWidget& window, QString& error) {
    const auto* count = Find<QComboBox>(window, "cbb6");
    if (count == nullptr) {
        return std::nullopt;
    }
    const int used = count->currentIndex() + 1;
    std::vector<std::string> texts;
    for (int i = 0; i < travik::kMaxDampingValues; ++i) {
        const QLineEdit* edit = DampingEdit(window, i);
        texts.push_back(edit == nullptr ? std::string() : edit->text().toStdString());
    }
    // The analysis's own reading decides what is valid, with its messages.
    std::vector<double> ratios;
    const travik::DampingReadResult read =
        travik::ReadDampingRatios(texts, used, DecimalSeparator(), ratios);
    if (!read.ok) {
        error = QString::fromStdString(read.message);
        return std::nullopt;
    }
    // The percentages as typed, not the ratios (percent × 0.01 does not always return).
    std::vector<double> percents;
    for (int i = 0; i < used; ++i) {
        percents.push_back(
            travik::TryParseNumber(texts[static_cast<std::size_t>(i)], DecimalSeparator())
                .value_or(0.0));
    }
    return percents;
}

bool ApplyDampingPercents(QWidget& window, const std::vector<double>& percents) {
    auto* count = Find<QComboBox>(window, "cbb6");
    if (count == nullptr || percents.empty() ||
        percents.size() > static_cast<std::size_t>(travik::kMaxDampingValues)) {
        return false;
    }
    for (const double percent : percents) {
        // As the analysis checks them: a ratio below 1; no negative damping is stored.
        if (!std::isfinite(percent) || percent < 0.0 || !(percent * 0.01 < 1.0)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < percents.size(); ++i) {
        if (QLineEdit* edit = DampingEdit(window, static_cast<int>(i))) {
            edit->setText(ExactEditText(percents[i], DecimalSeparator()));
        }
    }
    count->setCurrentIndex(static_cast<int>(percents.size()) - 1);
    return true;
}

std::vector<bool> CaptureCheckMarks(const QWidget& window) {
    std::vector<bool> checks;
    if (const auto* list = Find<QListWidget>(window, "lst1")) {
        for (int i = 0; i < list->count(); ++i) {
            checks.push_back(list->item(i)->checkState() == Qt::Checked);
        }
    }
    return checks;
}

QString ExactEditText(double value, char decimalSeparator) {
    std::string text = travik::FormatGeneral(value, decimalSeparator);
    if (travik::TryParseNumber(text, decimalSeparator) != value) {
        char buffer[64];
        const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
        text.assign(buffer, written.ptr);
        for (char& c : text) {
            if (c == '.') {
                c = decimalSeparator;
            }
        }
    }
    return QString::fromStdString(text);
}
