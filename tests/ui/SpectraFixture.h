#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/TimeHistory.h"
#include "core/text/NumberFormat.h"
#include "ui/figures/FigureView.h"

// The main window with records loaded straight into its list, as an import leaves them.
class SpectraFixture : public WindowFixture {
  protected:
    // The spectrum chart as it is shown.
    travik::figures::ChartFigure SpectrumFigure() const {
        return Spectra<travik::figures::FigureView>("cht4")->ShownFigure();
    }
    // Points of curve `curve` of the spectrum chart; -1 when it has no such curve.
    int CurvePoints(std::size_t curve) const {
        const travik::figures::ChartFigure figure = SpectrumFigure();
        return curve < figure.curves.size() ? static_cast<int>(figure.curves[curve].points.size())
                                            : -1;
    }
    // A record of raw samples (g), integrated with the default g.
    static std::unique_ptr<travik::TimeHistory> MakeRecord(const std::string& name, double dt,
                                                           const std::vector<double>& values) {
        auto record = std::make_unique<travik::TimeHistory>(name, dt);
        for (double value : values) {
            record->AppendAcceleration(value);
        }
        travik::IntegrateMotion(*record, 980.0, travik::MotionSet::Raw);
        record->SetIntegrated(true);
        return record;
    }

    // A short decaying oscillation whose largest absolute value is 0.45 g, at sample 10.
    static std::unique_ptr<travik::TimeHistory> ShortRecord(const std::string& name) {
        std::vector<double> values;
        for (int i = 0; i < 200; ++i) {
            values.push_back(0.3 * std::sin(6.2831852 * i / 25.0) * std::exp(-i / 100.0));
        }
        values[10] = -0.45;
        return MakeRecord(name, 0.01, values);
    }

    // The 1940 El Centro north-south record of the sample data, time step 0.02 s.
    static std::unique_ptr<travik::TimeHistory> SampleRecord() {
        travik::FreeFormatParameters parameters;
        parameters.timeStep = 0.02;
        travik::ReadResult read = travik::ReadFreeFormatFile(
            std::string(TRAVIK_SAMPLE_DATA_DIR) + "/elcentro-1940-chopra-ns.txt", parameters);
        EXPECT_TRUE(read.ok()) << read.message;
        travik::IntegrateMotion(*read.record, 980.0, travik::MotionSet::Raw);
        read.record->SetIntegrated(true);
        return std::move(read.record);
    }

    // Puts the records into the window's lists and selects the first in the record box.
    void Load(std::vector<std::unique_ptr<travik::TimeHistory>> records) {
        travik::RecordList list;
        for (auto& record : records) {
            list.Append(std::move(record));
        }
        form->Document().ReplaceRecords(std::move(list));
        Spectra<QComboBox>("cbb4")->setCurrentIndex(form->Document().Records().IsEmpty() ? -1 : 0);
    }

    void Load(std::unique_ptr<travik::TimeHistory> record) {
        std::vector<std::unique_ptr<travik::TimeHistory>> records;
        records.push_back(std::move(record));
        Load(std::move(records));
    }

    // Chooses the number of damping values and types them, in percent.
    void SetDamping(const std::vector<QString>& percents) {
        Spectra<QComboBox>("cbb6")->setCurrentIndex(static_cast<int>(percents.size()) - 1);
        QLineEdit* const edits[] = {
            Spectra<QLineEdit>("edt16"), Spectra<QLineEdit>("edt17"), Spectra<QLineEdit>("edt18"),
            Spectra<QLineEdit>("edt19"), Spectra<QLineEdit>("edt20"), Spectra<QLineEdit>("edt21"),
            Spectra<QLineEdit>("edt22"), Spectra<QLineEdit>("edt23"), Spectra<QLineEdit>("edt24")};
        for (std::size_t i = 0; i < percents.size(); ++i) {
            edits[i]->setText(percents[i]);
        }
    }

    void ShowSpectraPage(int tablePage = 0) {
        form->show();
        QApplication::setActiveWindow(form.get());
        Frame<QTabWidget>("pgc1")->setCurrentIndex(1);
        Spectra<QTabWidget>("pgc2")->setCurrentIndex(tablePage);
        QApplication::processEvents();
    }

    static QString Six(double value) {
        return QString::fromStdString(travik::FormatNumber(value, "0.000000"));
    }

    std::vector<StringGrid*> Grids() const {
        return {Spectra<StringGrid>("strngrd1"), Spectra<StringGrid>("strngrd2"),
                Spectra<StringGrid>("strngrd3"), Spectra<StringGrid>("strngrd4"),
                Spectra<StringGrid>("strngrd5")};
    }
};
