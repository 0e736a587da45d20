#pragma once

#include <QString>
#include <vector>

#include "ui/figures/ChartFigure.h"

class PlatformServices;
class QWidget;

// Asks where and how to save the figures (stacked from top to bottom) and writes them;
// a file that cannot be written gets the "Cannot create file" warning and no half file.
// The format, size and resolution chosen last are offered next time.
void SaveFiguresAs(PlatformServices& platform, QWidget* parent,
                   const std::vector<travik::figures::ChartFigure>& figures,
                   const QString& suggestedName);

// Puts the figures on the clipboard as one picture of the default image size.
void CopyFigures(PlatformServices& platform,
                 const std::vector<travik::figures::ChartFigure>& figures);

// Prints the figures on one page.
void PrintFigures(PlatformServices& platform, QWidget* parent,
                  const std::vector<travik::figures::ChartFigure>& figures);
