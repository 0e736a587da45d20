#pragma once

#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;

// What a workspace file and the remembered settings keep of the pages' controls, found by
// their object names under the main window, so that the pages keep their controls private.

// The spectrum chart's choices, keyed by control name: the X and Y lists (cbb5, cbb7) and
// what the chart shows (cbbShow) as the item index, the log axes and statistics boxes
// (chkLogX, chkLogY, chkMean, chkMedian, chkSigma, chkLogMean, chkLogSigma) as "true" or
// "false".
using ControlChoices = std::map<std::string, std::string>;
ControlChoices CaptureFigureChoices(const QWidget& window);
// Sets the controls `choices` names to the values it gives; a key no control has, an index
// outside its list or a text other than "true" or "false" is ignored.
void ApplyFigureChoices(QWidget& window, const ControlChoices& choices);

// The damping values in use (percent, the damping edits' order, as many as the count list
// cbb6 says), read as the analysis reads them; nothing with `error` set (the analysis's
// message) when an edit in use holds no valid value.
std::optional<std::vector<double>> CaptureDampingPercents(const QWidget& window, QString& error);
// Puts 1 to 9 damping values (percent, each finite, at least 0 and below 100) in the
// edits and the count list; false, changing nothing, for any other list.
bool ApplyDampingPercents(QWidget& window, const std::vector<double>& percents);

// The check marks of the records page's list (lst1), one per record.
std::vector<bool> CaptureCheckMarks(const QWidget& window);

// The text an edit shows for `value`: the general form when it reads back to the same
// double, else the shortest text that does, with `decimalSeparator`.
QString ExactEditText(double value, char decimalSeparator);
