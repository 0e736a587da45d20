#include "ui/app/CheckMarks.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

bool CheckMarks::IsChecked(int index) const {
    return index >= 0 && index < Count() && marks_[static_cast<std::size_t>(index)];
}

int CheckMarks::CheckedCount() const {
    return static_cast<int>(std::count(marks_.begin(), marks_.end(), true));
}

std::vector<int> CheckMarks::CheckedIndexes() const {
    std::vector<int> indexes;
    for (int i = 0; i < Count(); ++i) {
        if (marks_[static_cast<std::size_t>(i)]) {
            indexes.push_back(i);
        }
    }
    return indexes;
}

void CheckMarks::Reset(int recordCount) {
    marks_.assign(static_cast<std::size_t>(std::max(recordCount, 0)), false);
}

void CheckMarks::Extend(int recordCount) {
    marks_.resize(static_cast<std::size_t>(std::max(recordCount, 0)), false);
}

void CheckMarks::SetChecked(int index, bool checked) {
    if (index < 0 || index >= Count() || marks_[static_cast<std::size_t>(index)] == checked) {
        return;
    }
    marks_[static_cast<std::size_t>(index)] = checked;
    emit changed();
}

void CheckMarks::Change(CheckChange change) {
    std::vector<bool> marks = marks_;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        marks[i] = change == CheckChange::Invert ? !marks[i] : change == CheckChange::CheckAll;
    }
    Assign(std::move(marks));
}

void CheckMarks::TakeFrom(const QListWidget& list) {
    std::vector<bool> marks = marks_;
    const int rows = std::min(Count(), list.count());
    for (int i = 0; i < rows; ++i) {
        marks[static_cast<std::size_t>(i)] = list.item(i)->checkState() == Qt::Checked;
    }
    Assign(std::move(marks));
}

void CheckMarks::ShowIn(QListWidget& list) const {
    const QSignalBlocker blocker(&list);
    const int rows = std::min(Count(), list.count());
    for (int i = 0; i < rows; ++i) {
        const Qt::CheckState state =
            marks_[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked;
        if (list.item(i)->checkState() != state) {
            list.item(i)->setCheckState(state);
        }
    }
}

void CheckMarks::Assign(std::vector<bool> marks) {
    if (marks == marks_) {
        return;
    }
    marks_ = std::move(marks);
    emit changed();
}
