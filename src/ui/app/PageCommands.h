#pragma once

#include "ui/app/FormHelpers.h"

// What the frame's menus ask of the page in view. Each page answers for its own charts
// and its own check list, so that the frame needs to know no page by name.
class PageCommands {
  public:
    virtual ~PageCommands() = default;

    // File, "Save Chart As…": the charts the page shows, as an image file.
    virtual void SaveChartAs() = 0;
    // The check list's menu ("Check All", "Check None", "Invert Check") on the page's list.
    virtual void ChangeRecordChecks(CheckChange change) = 0;

  protected:
    PageCommands() = default;
    PageCommands(const PageCommands&) = default;
    PageCommands& operator=(const PageCommands&) = default;
};
