#pragma once

#include <QObject>
#include <vector>

#include "ui/app/FormHelpers.h"

class QListWidget;

// The records checked for export, statistics and scaling: one selection that every page's
// check list shows and changes, so that five records checked on one page are the same five
// on every other. One mark per record of the workspace, in record order.
class CheckMarks final : public QObject {
    Q_OBJECT
  public:
    explicit CheckMarks(QObject* parent = nullptr) : QObject(parent) {}

    int Count() const { return static_cast<int>(marks_.size()); }
    bool IsChecked(int index) const;
    int CheckedCount() const;
    // The indexes of the checked records, ascending.
    std::vector<int> CheckedIndexes() const;

    // Nothing checked, one mark per record (new records in place of the loaded ones).
    // Silent, as Extend: the records' own signal follows, on which the lists are made anew.
    void Reset(int recordCount);
    // Unchecked marks for records added after the loaded ones; the loaded keep theirs.
    void Extend(int recordCount);
    void SetChecked(int index, bool checked);
    // "Check All", "Check None", "Invert Check".
    void Change(CheckChange change);
    // Takes the marks a check list shows (the user ticked one of its boxes).
    void TakeFrom(const QListWidget& list);
    // Shows the marks in a check list of the records, without change signals.
    void ShowIn(QListWidget& list) const;

  signals:
    // A mark changed.
    void changed();

  private:
    void Assign(std::vector<bool> marks);

    std::vector<bool> marks_;
};
